#include "web/web_fetch.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/codepage.h"
#include "base/wait.h"
#include "web/http_request_engine.h"

namespace lw {
namespace {

constexpr int kDefaultTimeoutSeconds = 60;
std::atomic<int> live_request_threads{0};

// Shared by the waiting caller and the request's thread; whichever lets go last frees it.
struct PendingRequest {
  RequestRecord record;
  RequestAbort abort;
  std::mutex mutex;
  std::condition_variable_any done_cv;
  bool done = false;
};

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\n";
  size_t a = s.find_first_not_of(blanks);
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(blanks) - a + 1);
}

std::string Convert(std::string body, ReplyConversion conversion) {
  switch (conversion) {
    case ReplyConversion::kUtf8ToGbk:
      return FromWide(ToWide(body, kCodePageUtf8), kCodePageGbk);
    case ReplyConversion::kBig5ToGbk: {
      std::string gbk = FromWideUntilUnmappable(ToWide(body, kCodePageBig5), kCodePageGbk);
      return FromWide(TraditionalToSimplified(ToWide(gbk, kCodePageGbk)), kCodePageGbk);
    }
    default:
      return body;
  }
}

}  // namespace

const std::string& TimeoutMessage() {
  static const std::string message = Utf8ToGbk(
      "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置长一些"
      "。");
  return message;
}

int LiveRequestThreads() {
  return live_request_threads.load();
}

std::string WebFetch(const FetchRequest& request, std::stop_token stop, std::string* reply_headers,
                     std::string* reply_cookies) {
  std::string url = Trim(request.url);
  if (url.empty()) return {};
  if (url.rfind("http://", 0) != 0 && url.rfind("https://", 0) != 0) url = "http://" + url;

  auto pending = std::make_shared<PendingRequest>();
  RequestRecord& record = pending->record;
  record.url = url;
  record.method = request.method;
  record.proxy = request.proxy;
  record.headers = request.headers;
  record.body = request.body;
  record.cookies = request.cookies;
  record.no_redirect = request.no_redirect;

  const auto timeout =
      std::chrono::milliseconds(1000LL * request.timeout_seconds.value_or(kDefaultTimeoutSeconds));
  const auto start = Clock::now();
  ++live_request_threads;
  try {
    std::thread([pending]() mutable {
      PerformRequest(pending->record, &pending->abort);
      {
        std::lock_guard<std::mutex> lock(pending->mutex);
        pending->done = true;
      }
      pending->done_cv.notify_all();
      pending.reset();  // the last owner frees the request here, before the count drops
      --live_request_threads;
    }).detach();
  } catch (const std::system_error&) {
    // No thread for the request: it can only end as a time-out.
    --live_request_threads;
    return TimeoutMessage();
  }

  std::unique_lock<std::mutex> lock(pending->mutex);
  pending->done_cv.wait_until(lock, stop, start + timeout, [&] { return pending->done; });
  // A reply that came in at the very moment the time-out passed still counts as a time-out.
  if (Clock::now() - start >= timeout) {
    lock.unlock();
    pending->abort.Abandon();
    return TimeoutMessage();
  }
  if (!pending->done) {
    lock.unlock();
    pending->abort.Abandon();
    return {};
  }
  lock.unlock();
  if (reply_headers) *reply_headers = record.reply_headers;
  if (reply_cookies) *reply_cookies = record.reply_cookies;
  return Convert(std::move(record.reply_body), request.conversion);
}

}  // namespace lw
