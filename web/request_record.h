// One HTTP request and what came back, handed between the page fetch and the request engine.
#pragma once

#include <string>

namespace lw {

struct RequestRecord {
  // Set by the caller. Texts are GBK.
  std::string url;      // full URL beginning with a scheme
  int method = 0;       // 0 GET, 1 POST
  std::string proxy;    // proxy address; empty for a direct connection
  std::string headers;  // extra request header lines, each ended by CR LF
  std::string body;     // POST body
  std::string cookies;  // cookie text to send ("a=1;b=2"); empty: the cookie store's
  bool no_redirect = false;

  // Filled by the engine.
  std::string reply_body;
  std::string reply_cookies;  // each cookie the reply set as name=value followed by ";"
  std::string reply_headers;  // raw headers of the final reply, status line first, CR LF lines
};

}  // namespace lw
