// The program's command line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lw {

struct CommandLine {
  bool help = false;
  bool headless = false;  // harvest without a window
  bool demo = false;      // harvest against a suggestion service started inside the program
  std::filesystem::path seeds_file;
  std::optional<std::string> endpoint;
  std::optional<std::filesystem::path> output_file;
  std::optional<std::filesystem::path> ca_file;
  std::optional<std::filesystem::path> settings_file;
};

// False, with `error` set, for arguments that do not make a command.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& command,
                      std::string* error);

std::string UsageText();

}  // namespace lw
