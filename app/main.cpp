// The harvester's entry point.
#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/headless_harvest.h"
#include "app/settings.h"

int main(int argc, char** argv) {
  // Blocked in every thread from the start, so that only the stop waiter receives them.
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);

  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    // The window is not part of this build yet: say what the program can do.
    std::printf("%s\nTry it offline: ./run.sh --headless --demo --seeds docs/sample-seeds.txt\n",
                lw::UsageText().c_str());
    return 0;
  }
  lw::CommandLine command;
  std::string error;
  if (!lw::ParseCommandLine(args, command, &error)) {
    std::fprintf(stderr, "harvester: %s\n%s", error.c_str(), lw::UsageText().c_str());
    return lw::kExitUsage;
  }
  if (command.help) {
    std::printf("%s", lw::UsageText().c_str());
    return 0;
  }
  lw::AppSettings settings;
  if (command.settings_file && !lw::LoadSettingsFile(*command.settings_file, settings, &error)) {
    std::fprintf(stderr, "harvester: %s\n", error.c_str());
    return lw::kExitUsage;
  }
  if (command.endpoint) settings.endpoint = *command.endpoint;
  if (command.output_file) settings.output_file = *command.output_file;
  if (command.ca_file) settings.ca_file = *command.ca_file;
  return lw::RunHeadlessHarvest(command, settings);
}
