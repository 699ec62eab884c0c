// Helpers the tests share: a temporary folder, running a program, a test certificate.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lw::test {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Runs `argv` (searched on PATH, no shell) and waits for it; its standard output goes to
// `output` when given. Answers the exit status, or -1 when it could not run.
int RunProgram(const std::vector<std::string>& argv, std::string* output = nullptr);

// A program started in the background, its standard output and error collected.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();  // kills the child if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  void Signal(int signal);
  // Waits for the child to end and answers its exit status (128 + n when killed by signal n).
  int Wait();
  // What it wrote so far.
  std::string Stdout();
  std::string Stderr();

 private:
  struct Pipes;
  int pid_ = -1;
  int exit_status_ = -1;
  std::unique_ptr<Pipes> pipes_;
};

// An X server of the test's own (Xvfb), on a free display; DISPLAY names it while it runs.
class XServer {
 public:
  XServer();
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;
  // False, with why(), when none could be started (Xvfb missing, or it failed).
  bool running() const { return pid_ > 0; }
  const std::string& why() const { return why_; }
  const std::string& display() const { return display_; }
  // Starts a program on this display (a window manager); it ends with the server.
  bool StartClient(const std::vector<std::string>& argv);

 private:
  int pid_ = -1;
  std::vector<int> clients_;
  std::string display_;
  std::string why_;
  std::string old_display_;
  bool had_display_ = false;
};

struct Certificate {
  std::filesystem::path cert;  // self-signed, for 127.0.0.1 and localhost: its own CA
  std::filesystem::path key;
};

// Makes a certificate and key in `dir` with the openssl command.
Certificate MakeTestCertificate(const std::filesystem::path& dir);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace lw::test
