// suggest_server: the loopback suggestion service on its own.
//
//   suggest_server [--port N] [--seed S] [--size N] [--cert PEM --key PEM]
//
// Prints its endpoint and serves until interrupted.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/suggest_server/suggest_server.h"

int main(int argc, char** argv) {
  lw::SuggestServerConfig config;
  int port = 0;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!v) {
      std::fprintf(stderr,
                   "usage: suggest_server [--port N] [--seed S] [--size N] "
                   "[--cert PEM --key PEM]\n");
      return 2;
    }
    ++i;
    if (arg == "--port")
      port = std::atoi(v);
    else if (arg == "--seed")
      config.graph_seed = std::strtoull(v, nullptr, 10);
    else if (arg == "--size")
      config.graph_size = std::atoi(v);
    else if (arg == "--cert")
      config.cert_file = v;
    else if (arg == "--key")
      config.key_file = v;
    else {
      std::fprintf(stderr, "unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  lw::SuggestServer server(config);
  if (!server.Start(port)) {
    std::fprintf(stderr, "cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("%s\n", server.Endpoint().c_str());
  std::fflush(stdout);
  int signal = 0;
  sigwait(&signals, &signal);
  server.Stop();
  return 0;
}
