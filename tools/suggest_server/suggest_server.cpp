#include "tools/suggest_server/suggest_server.h"

#include <httplib.h>

#include <algorithm>

namespace lw {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

RecordedRequest ToRecord(const httplib::Request& req) {
  RecordedRequest r;
  r.method = req.method;
  r.target = req.target;
  r.path = req.path;
  for (const auto& [name, value] : req.headers) {
    // httplib keeps headers in a map ordered by name; REMOTE_* are its own notes.
    if (name.rfind("REMOTE_", 0) == 0 || name.rfind("LOCAL_", 0) == 0) continue;
    r.headers.emplace_back(name, value);
  }
  r.body = req.body;
  return r;
}

// "體驗網絡" (traditional characters) in Big5.
constexpr std::string_view kBig5Text = "\xC5\xE9\xC5\xE7\xBA\xF4\xB5\xB8";

}  // namespace

std::string RecordedRequest::Header(std::string_view name) const {
  for (const auto& [n, v] : headers) {
    if (Lower(n) == Lower(name)) return v;
  }
  return {};
}

bool RecordedRequest::HasHeader(std::string_view name) const {
  for (const auto& [n, v] : headers) {
    if (Lower(n) == Lower(name)) return true;
  }
  return false;
}

std::string RecordedRequest::Param(std::string_view key) const {
  size_t q = target.find('?');
  if (q == std::string::npos) return {};
  httplib::Params params;
  httplib::detail::parse_query_text(target.substr(q + 1), params);
  auto it = params.find(std::string(key));
  return it == params.end() ? std::string() : it->second;
}

SuggestServer::SuggestServer(SuggestServerConfig config)
    : config_(std::move(config)), graph_(config_.graph_seed, config_.graph_size) {}

SuggestServer::~SuggestServer() {
  Stop();
}

std::string SuggestServer::Endpoint() const {
  bool https = !config_.cert_file.empty() && !config_.key_file.empty();
  return std::string(https ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

bool SuggestServer::Start(int port) {
  if (server_) return false;
  if (!config_.cert_file.empty() && !config_.key_file.empty()) {
    server_ =
        std::make_unique<httplib::SSLServer>(config_.cert_file.c_str(), config_.key_file.c_str());
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  if (!server_->is_valid()) {
    server_.reset();
    return false;
  }
  // Requests that never answer hold a worker each: keep plenty.
  server_->new_task_queue = [] { return new httplib::ThreadPool(64); };
  Route();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = false;
  }
  if (port == 0) {
    port_ = server_->bind_to_any_port("127.0.0.1");
  } else {
    port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
  }
  if (port_ <= 0) {
    server_.reset();
    return false;
  }
  listener_ = std::thread([this] { server_->listen_after_bind(); });
  // Stop only takes effect once the server runs: wait for that (briefly).
  for (int i = 0; i < 5000 && !server_->is_running(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void SuggestServer::Stop() {
  if (!server_) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  stop_cv_.notify_all();
  server_->stop();
  if (listener_.joinable()) listener_.join();
  server_.reset();
}

void SuggestServer::SetSuggestFault(SuggestFault fault, int slow_ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  fault_ = fault;
  slow_ms_ = slow_ms;
}

std::vector<RecordedRequest> SuggestServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void SuggestServer::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

void SuggestServer::Record(const RecordedRequest& request) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(request);
}

bool SuggestServer::Wait(int ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !stop_cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void SuggestServer::Route() {
  using httplib::Request;
  using httplib::Response;
  httplib::Server& s = *server_;
  auto json = "application/json; charset=utf-8";

  s.set_pre_routing_handler([this](const Request& req, Response& res) {
    Record(ToRecord(req));
    if (req.target.rfind("http://", 0) == 0 || req.target.rfind("https://", 0) == 0) {
      res.set_content("proxied " + req.target, "text/plain");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });

  s.Get("/search_suggest", [this, json](const Request& req, Response& res) {
    SuggestFault fault;
    int slow_ms;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      fault = fault_;
      slow_ms = slow_ms_;
    }
    if (fault == SuggestFault::kNeverAnswer) {
      while (Wait(1000)) {
      }
      return;
    }
    if (fault == SuggestFault::kSlow && !Wait(slow_ms)) return;
    if (fault == SuggestFault::kError) {
      res.status = 503;
      res.set_content("{\"error_code\":54001,\"error_msg\":\"服务繁忙\"}", json);
      return;
    }
    res.set_content(graph_.ReplyFor(req.get_param_value("query")), json);
  });

  s.Get("/never", [this](const Request&, Response&) {
    while (Wait(1000)) {
    }
  });
  s.Get("/slow", [this](const Request& req, Response& res) {
    int ms = req.has_param("ms") ? std::stoi(req.get_param_value("ms")) : 1000;
    if (Wait(ms)) res.set_content("slow", "text/plain");
  });
  s.Get("/close", [](const Request&, Response& res) {
    res.set_content_provider(100000, "text/plain",
                             [](size_t offset, size_t, httplib::DataSink& sink) {
                               if (offset > 0)
                                 return false;  // drop the connection after the first part
                               std::string part(1000, 'p');
                               sink.write(part.data(), part.size());
                               return true;
                             });
  });
  s.Get("/redirect", [](const Request& req, Response& res) {
    res.set_redirect(req.has_param("to") ? req.get_param_value("to") : "/echo", 302);
  });
  s.Get("/set-cookies", [](const Request&, Response& res) {
    res.set_header("Set-Cookie", "a=1; Path=/");
    res.set_header("Set-Cookie", "b=2");
    res.set_content("cookies set", "text/plain");
  });
  s.Get("/large", [](const Request& req, Response& res) {
    size_t mb = req.has_param("mb") ? std::stoul(req.get_param_value("mb")) : 20;
    size_t total = mb * 1024 * 1024;
    res.set_content_provider(total, "application/octet-stream",
                             [](size_t offset, size_t length, httplib::DataSink& sink) {
                               std::string chunk(std::min<size_t>(length, 65536), '\0');
                               for (size_t i = 0; i < chunk.size(); ++i) {
                                 chunk[i] = static_cast<char>('a' + (offset + i) % 26);
                               }
                               sink.write(chunk.data(), chunk.size());
                               return true;
                             });
  });
  s.Get("/bytes", [](const Request&, Response& res) {
    res.set_content(std::string("ok \xFF\xFE\x80 \xC3( \xBA\xEC end"), "application/octet-stream");
  });
  s.Get("/status", [](const Request& req, Response& res) {
    res.status = req.has_param("code") ? std::stoi(req.get_param_value("code")) : 500;
    res.set_content("error body " + std::to_string(res.status), "text/plain");
  });
  s.Get("/utf8", [](const Request&, Response& res) {
    res.set_content("长尾词 abc", "text/plain; charset=utf-8");
  });
  s.Get("/big5", [](const Request&, Response& res) {
    res.set_content(std::string(kBig5Text), "text/plain; charset=big5");
  });
  s.Get("/echo", [](const Request&, Response& res) { res.set_content("ok", "text/plain"); });
  s.Post("/echo", [this](const Request& req, Response& res) {
    {
      // The request was recorded before its body had been read.
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto it = requests_.rbegin(); it != requests_.rend(); ++it) {
        if (it->method == "POST" && it->target == req.target) {
          it->body = req.body;
          break;
        }
      }
    }
    res.set_content("posted " + req.body, "text/plain");
  });
}

}  // namespace lw
