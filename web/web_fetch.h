// The one call through which the program fetches a page: the request runs on a short-lived
// thread of its own while the caller waits with a time-out; a time-out answers a fixed message
// in place of the page.
#pragma once

#include <stop_token>
#include <string>

#include "web/fetch_request.h"

namespace lw {

// "超时返回，指定网站不能访问，…" (GBK): what a fetch that timed out answers.
const std::string& TimeoutMessage();

// Fetches `request.url` ("http://" is put in front of a URL without a scheme; a blank URL
// fetches nothing). Answers the reply body converted as asked, the time-out message, or ""
// when the request failed. The two outputs, when given, receive the raw reply headers and the
// reply's cookies of a request that finished in time.
//
// A request that times out or is stopped is abandoned at once: the call returns within
// milliseconds, and the request's thread ends by itself soon after without touching anything
// of the caller's. A stopped fetch answers "".
std::string WebFetch(const FetchRequest& request, std::stop_token stop = {},
                     std::string* reply_headers = nullptr, std::string* reply_cookies = nullptr);

// How many request threads are still running (abandoned ones included).
int LiveRequestThreads();

}  // namespace lw
