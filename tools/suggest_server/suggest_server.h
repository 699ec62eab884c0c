// A suggestion service on loopback, for the tests, the benchmarks and the offline demo.
//
// "/search_suggest" answers from a SuggestionGraph. Further paths give the faults a real
// server can show:
//   /never              never answers (until the server stops)
//   /slow?ms=N          answers after N milliseconds
//   /close              announces a long body, sends part of it and drops the connection
//   /redirect?to=PATH   302 to PATH on this server
//   /set-cookies        sets a=1 (with a path) and b=2 (without attributes)
//   /large?mb=N         an N-megabyte body
//   /bytes              a body that is not UTF-8
//   /status?code=N      status N with a body
//   /utf8, /big5        a Chinese text in UTF-8 or Big5
//   /echo               200 with "ok"
// A request whose target is an absolute URL (as a client sends it to a proxy) is answered
// "proxied <URL>". Every request is recorded.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tools/suggest_server/suggestion_graph.h"

namespace httplib {
class Server;
}

namespace lw {

struct RecordedRequest {
  std::string method;
  std::string target;  // path and query as sent
  std::string path;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;

  // The value of the first header of that name (any case), or "".
  std::string Header(std::string_view name) const;
  bool HasHeader(std::string_view name) const;
  // The decoded value of a query key, or "".
  std::string Param(std::string_view key) const;
};

struct SuggestServerConfig {
  uint64_t graph_seed = 1;
  int graph_size = 60;
  // HTTPS when both are given.
  std::string cert_file;
  std::string key_file;
};

// What "/search_suggest" does besides answering.
enum class SuggestFault { kNone, kNeverAnswer, kSlow, kError };

class SuggestServer {
 public:
  explicit SuggestServer(SuggestServerConfig config = {});
  ~SuggestServer();
  SuggestServer(const SuggestServer&) = delete;
  SuggestServer& operator=(const SuggestServer&) = delete;

  // Listens on 127.0.0.1 at `port` (0: any free port). False when it cannot.
  bool Start(int port = 0);
  void Stop();

  int Port() const { return port_; }
  // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT".
  std::string Endpoint() const;

  void SetSuggestFault(SuggestFault fault, int slow_ms = 0);
  std::vector<RecordedRequest> Requests() const;
  void ClearRequests();

 private:
  void Route();
  void Record(const RecordedRequest& request);
  // Waits `ms` milliseconds, or less when the server stops. False when it stopped.
  bool Wait(int ms);

  SuggestServerConfig config_;
  SuggestionGraph graph_;
  std::unique_ptr<httplib::Server> server_;
  std::thread listener_;
  int port_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable stop_cv_;
  bool stopping_ = false;
  SuggestFault fault_ = SuggestFault::kNone;
  int slow_ms_ = 0;
  std::vector<RecordedRequest> requests_;
};

}  // namespace lw
