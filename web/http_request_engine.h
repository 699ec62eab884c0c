// One HTTP or HTTPS request over libcurl, with the default headers, the caller's headers and
// cookies, a proxy, redirect control and a process-wide cookie store.
#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "web/request_record.h"

namespace lw {

// Lets another thread abandon a request at any moment: the request then returns within a
// moment, without filling its record.
class RequestAbort {
 public:
  void Abandon();
  bool Abandoned() const { return abandoned_.load(); }

 private:
  friend class RequestTransfer;
  std::atomic<bool> abandoned_{false};
  std::mutex mutex_;       // guards multi_
  void* multi_ = nullptr;  // the running transfer's multi handle, woken on Abandon
};

// Certificates (PEM) trusted for HTTPS besides the system's; empty for the system's only.
void SetExtraCaFile(const std::filesystem::path& path);

// Performs `record`'s request and fills its three reply fields. Fails quietly: a request that
// cannot be made leaves the reply body empty.
void PerformRequest(RequestRecord& record, RequestAbort* abort = nullptr);

// The pieces of a request, exposed for the tests.

// The user agent for a header text: the value of its "User-Agent:" line, or the text after
// its first ":" when that line has no line end, or the engine's default without one.
std::string UserAgentFor(std::string_view headers);

// The header text as it goes out: the caller's lines, then Accept, Referer and
// Accept-Language unless named, the POST content headers, then the Cookie line.
std::string CompleteHeaders(const RequestRecord& record);

// Reads the Set-Cookie lines of raw reply headers: the reply cookies text ("a=1;b=2;") and
// each cookie as {name, data} (data with its attributes).
std::string ReplyCookies(std::string_view reply_headers,
                         std::vector<std::pair<std::string, std::string>>* cookies = nullptr);

// Removes every cookie of the process-wide store (for tests).
void ClearCookieStore();

}  // namespace lw
