#include "tests/support/test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace lw::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lw_test_XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

int RunProgram(const std::vector<std::string>& argv, std::string* output) {
  std::vector<char*> args;
  std::vector<std::string> copies = argv;
  for (auto& a : copies)
    args.push_back(a.data());
  args.push_back(nullptr);
  int pipe_fds[2] = {-1, -1};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (output) {
    if (pipe(pipe_fds) != 0) return -1;
    posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  }
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (output) {
    close(pipe_fds[1]);
    if (rc == 0) {
      char buffer[4096];
      ssize_t n;
      while ((n = read(pipe_fds[0], buffer, sizeof buffer)) > 0)
        output->append(buffer, n);
    }
    close(pipe_fds[0]);
  }
  if (rc != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ChildProcess::Pipes {
  std::mutex mutex;
  std::string out, err;
  std::thread out_reader, err_reader;
};

namespace {
void ReadInto(int fd, std::string& text, std::mutex& mutex) {
  char buffer[4096];
  ssize_t n;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) {
    std::lock_guard<std::mutex> lock(mutex);
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
}
}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv) : pipes_(new Pipes) {
  std::vector<std::string> copies = argv;
  std::vector<char*> args;
  for (auto& a : copies)
    args.push_back(a.data());
  args.push_back(nullptr);
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (rc == 0) pid_ = pid;
  pipes_->out_reader =
      std::thread(ReadInto, out[0], std::ref(pipes_->out), std::ref(pipes_->mutex));
  pipes_->err_reader =
      std::thread(ReadInto, err[0], std::ref(pipes_->err), std::ref(pipes_->mutex));
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && exit_status_ < 0) {
    kill(pid_, SIGKILL);
    Wait();
  }
  if (pipes_->out_reader.joinable()) pipes_->out_reader.join();
  if (pipes_->err_reader.joinable()) pipes_->err_reader.join();
}

void ChildProcess::Signal(int signal) {
  if (pid_ > 0 && exit_status_ < 0) kill(pid_, signal);
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  if (exit_status_ >= 0) return exit_status_;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  exit_status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (pipes_->out_reader.joinable()) pipes_->out_reader.join();
  if (pipes_->err_reader.joinable()) pipes_->err_reader.join();
  return exit_status_;
}

std::string ChildProcess::Stdout() {
  std::lock_guard<std::mutex> lock(pipes_->mutex);
  return pipes_->out;
}

std::string ChildProcess::Stderr() {
  std::lock_guard<std::mutex> lock(pipes_->mutex);
  return pipes_->err;
}

XServer::XServer() {
  const char* old = std::getenv("DISPLAY");
  had_display_ = old != nullptr;
  if (old) old_display_ = old;
  int fds[2];
  if (pipe(fds) != 0) {
    why_ = "no pipe";
    return;
  }
  std::string fd = std::to_string(fds[1]);
  std::vector<std::string> argv = {"Xvfb",        "-displayfd", fd,    "-screen", "0",
                                   "1024x768x24", "-nolisten",  "tcp", "-noreset"};
  std::vector<char*> args;
  for (auto& a : argv)
    args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    why_ = "Xvfb cannot be started (is it installed?)";
    return;
  }
  // Xvfb writes its display number once it accepts clients (at most 20 s).
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, 20000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    why_ = "Xvfb started but gave no display";
    return;
  }
  pid_ = pid;
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);
}

XServer::~XServer() {
  for (int c : clients_) {
    kill(c, SIGTERM);
    waitpid(c, nullptr, 0);
  }
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (had_display_) {
    setenv("DISPLAY", old_display_.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

bool XServer::StartClient(const std::vector<std::string>& argv) {
  std::vector<std::string> copies = argv;
  std::vector<char*> args;
  for (auto& a : copies)
    args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  clients_.push_back(pid);
  return true;
}

Certificate MakeTestCertificate(const std::filesystem::path& dir) {
  Certificate c{dir / "cert.pem", dir / "key.pem"};
  int rc = RunProgram({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                       c.key.string(), "-out", c.cert.string(), "-days", "2", "-subj",
                       "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"});
  if (rc != 0) throw std::runtime_error("openssl could not make a test certificate");
  return c;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace lw::test
