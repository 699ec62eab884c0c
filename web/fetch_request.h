// What one page fetch asks for: the arguments of the page fetch, gathered in a value.
#pragma once

#include <optional>
#include <string>

namespace lw {

enum class ReplyConversion : int {
  kNone = 0,       // the body as it came
  kUtf8ToGbk = 1,  // UTF-8 text converted to GBK
  kBig5ToGbk = 2,  // Big5 text converted to GBK, traditional characters made simplified
};

struct FetchRequest {
  std::string url;
  int method = 0;                      // 0 GET, 1 POST
  std::string proxy;                   // empty: direct connection
  std::string headers;                 // extra header lines, each ended by CR LF
  std::string body;                    // POST body
  std::string cookies;                 // cookie text to send; empty: the cookie store's
  std::optional<int> timeout_seconds;  // not given: 60 seconds
  ReplyConversion conversion = ReplyConversion::kNone;
  bool no_redirect = false;
};

}  // namespace lw
