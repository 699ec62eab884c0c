#include "web/http_request_engine.h"

#include <curl/curl.h>

#include <cstring>
#include <ctime>

#include "base/text_search.h"
#include "web/url_parts.h"

namespace lw {
namespace {

constexpr std::string_view kDefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr std::string_view kDefaultAccept =
    "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*\r\n";

std::string Trim(std::string_view s) {
  const char* blanks = " \t\r\n";
  size_t a = s.find_first_not_of(blanks);
  if (a == std::string_view::npos) return {};
  size_t b = s.find_last_not_of(blanks);
  return std::string(s.substr(a, b - a + 1));
}

bool Holds(std::string_view text, std::string_view what) {
  return FindText(text, what, 1, true);
}

// The process-wide pieces: libcurl's global state, the shared cookie store and the settings.
struct Global {
  std::mutex locks[CURL_LOCK_DATA_LAST];
  std::mutex ca_mutex;
  std::string extra_ca_file;
  CURLSH* share = nullptr;

  Global() {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_LOCKFUNC, &Lock);
    curl_share_setopt(share, CURLSHOPT_UNLOCKFUNC, &Unlock);
    curl_share_setopt(share, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  // Every request uses the share: curl locks each kind of shared data (the cookies, the share
  // itself) through these, one mutex per kind.
  static void Lock(CURL*, curl_lock_data data, curl_lock_access, void* p) {
    static_cast<Global*>(p)->locks[data].lock();
  }
  static void Unlock(CURL*, curl_lock_data data, void* p) {
    static_cast<Global*>(p)->locks[data].unlock();
  }
};

Global& G() {
  static Global* global = new Global();  // lives as long as the process
  return *global;
}

struct CurlSlist {
  curl_slist* list = nullptr;
  ~CurlSlist() { curl_slist_free_all(list); }
  void Add(const std::string& line) { list = curl_slist_append(list, line.c_str()); }
};

// The name of a header line, lower-cased and trimmed.
std::string HeaderName(std::string_view line) {
  size_t colon = line.find(':');
  return AsciiLower(Trim(line.substr(0, colon)));
}

// A Netscape cookie-file line that stores name=data for `host`, as the reply set it.
std::string CookieFileLine(const std::string& host, const std::string& name,
                           const std::string& data) {
  std::string value = data.substr(0, data.find(';'));
  std::string path = "/";
  long long expires = 0;  // a session cookie
  size_t from = data.find(';');
  while (from != std::string::npos) {
    size_t next = data.find(';', from + 1);
    std::string attribute =
        Trim(data.substr(from + 1, next == std::string::npos ? next : next - from - 1));
    std::string lower = AsciiLower(attribute);
    if (lower.rfind("path=", 0) == 0 && attribute.size() > 5) {
      path = attribute.substr(5);
    } else if (lower.rfind("max-age=", 0) == 0) {
      expires = static_cast<long long>(std::time(nullptr)) + std::atoll(attribute.c_str() + 8);
    } else if (lower.rfind("expires=", 0) == 0 && expires == 0) {
      time_t t = curl_getdate(attribute.c_str() + 8, nullptr);
      if (t > 0) expires = t;
    }
    from = next;
  }
  return host + "\tFALSE\t" + path + "\tFALSE\t" + std::to_string(expires) + "\t" + name + "\t" +
         value;
}

}  // namespace

void RequestAbort::Abandon() {
  abandoned_ = true;
  std::lock_guard<std::mutex> lock(mutex_);
  if (multi_) curl_multi_wakeup(static_cast<CURLM*>(multi_));
}

void SetExtraCaFile(const std::filesystem::path& path) {
  std::lock_guard<std::mutex> lock(G().ca_mutex);
  G().extra_ca_file = path.string();
}

void ClearCookieStore() {
  CURL* easy = curl_easy_init();
  curl_easy_setopt(easy, CURLOPT_SHARE, G().share);
  curl_easy_setopt(easy, CURLOPT_COOKIELIST, "ALL");
  curl_easy_cleanup(easy);
}

std::string UserAgentFor(std::string_view headers) {
  if (!Holds(headers, "User-Agent:")) return std::string(kDefaultUserAgent);
  std::string agent = Trim(TextBetweenMarkers(headers, "User-Agent:", "\r\n"));
  if (agent.empty()) {
    size_t colon = headers.find(':');
    agent = colon == std::string_view::npos ? std::string() : Trim(headers.substr(colon + 1));
  }
  return agent;
}

std::string CompleteHeaders(const RequestRecord& record) {
  std::string h = record.headers;
  if (!Holds(h, "Accept")) h += kDefaultAccept;
  if (int at = FindText(h, "RefererNo")) {
    h.erase(static_cast<size_t>(at - 1), 9);
  } else if (!Holds(h, "Referer")) {
    h += "Referer: " + record.url + "\r\n";
  }
  if (!Holds(h, "Accept-Language")) h += "Accept-Language: zh-cn\r\n";
  if (record.method == 1 && !record.body.empty()) {
    if (!Holds(h, "Content-Type")) h += "Content-Type: application/x-www-form-urlencoded\r\n";
    if (!Holds(h, "Content-Length")) {
      h += "Content-Length: " + std::to_string(record.body.size()) + "\r\n";
    }
  }
  if (!record.cookies.empty()) h += "Cookie: " + record.cookies + "\r\n\r\n";
  return h;
}

std::string ReplyCookies(std::string_view reply_headers,
                         std::vector<std::pair<std::string, std::string>>* cookies) {
  std::string text;
  size_t from = 0;
  while (from < reply_headers.size()) {
    size_t end = reply_headers.find('\n', from);
    std::string_view line =
        reply_headers.substr(from, end == std::string_view::npos ? end : end - from);
    from = end == std::string_view::npos ? reply_headers.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!Holds(line, "Set-Cookie: ") || line.size() < 12) continue;
    std::string rest(line.substr(12));
    // name=value without the attributes; a cookie that has none is taken whole.
    size_t semicolon = rest.find(';');
    text += rest.substr(0, semicolon) + ";";
    if (cookies) {
      size_t eq = rest.find('=');
      if (eq != std::string::npos) cookies->emplace_back(rest.substr(0, eq), rest.substr(eq + 1));
    }
  }
  return text;
}

// The state of one running transfer, seen by the curl callbacks.
class RequestTransfer {
 public:
  RequestTransfer(RequestRecord& record, RequestAbort* abort) : record_(record), abort_(abort) {}

  void Run() {
    Global& global = G();
    const std::string& url = record_.url;
    const bool https = IsHttpsUrl(url);
    const std::string host = UrlHost(url);
    const std::string target = std::string(https ? "https://" : "http://") + host + ":" +
                               std::to_string(UrlPort(url)) + UrlPath(url);
    const bool own_cookies = !Trim(record_.cookies).empty();

    CURL* easy = curl_easy_init();
    if (!easy) return;
    curl_easy_setopt(easy, CURLOPT_URL, target.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, UserAgentFor(record_.headers).c_str());
    // Without a proxy the connection is direct, whatever the environment says.
    curl_easy_setopt(easy, CURLOPT_PROXY, record_.proxy.c_str());
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, record_.no_redirect ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    std::string ca_file;
    {
      std::lock_guard<std::mutex> lock(global.ca_mutex);
      ca_file = global.extra_ca_file;
    }
    if (!ca_file.empty()) {
      curl_easy_setopt(easy, CURLOPT_CAINFO, ca_file.c_str());
      curl_easy_setopt(easy, CURLOPT_CAPATH, "/etc/ssl/certs");
    }
    curl_easy_setopt(easy, CURLOPT_SHARE, global.share);
    // The store's cookies go out with the request, and the reply's are kept, unless the caller
    // sends cookies of its own.
    if (!own_cookies) curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");

    CurlSlist headers;
    bool named_accept = false;
    std::string text = CompleteHeaders(record_);
    size_t from = 0;
    while (from < text.size()) {
      size_t end = text.find('\n', from);
      std::string line = text.substr(from, end == std::string::npos ? end : end - from);
      from = end == std::string::npos ? text.size() : end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (Trim(line).empty()) continue;
      if (HeaderName(line) == "accept") named_accept = true;
      headers.Add(line);
    }
    // Only the lines above go out: no Accept of curl's own, no 100-continue handshake.
    if (!named_accept) headers.Add("Accept:");
    headers.Add("Expect:");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.list);

    if (record_.method == 1) {
      curl_easy_setopt(easy, CURLOPT_POST, 1L);
      curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                       static_cast<curl_off_t>(record_.body.size()));
      curl_easy_setopt(easy, CURLOPT_POSTFIELDS, record_.body.data());
    } else {
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);

    CURLM* multi = curl_multi_init();
    curl_multi_add_handle(multi, easy);
    if (abort_) {
      std::lock_guard<std::mutex> lock(abort_->mutex_);
      abort_->multi_ = multi;
    }
    int running = 1;
    while (running && !Abandoned()) {
      if (curl_multi_perform(multi, &running) != CURLM_OK) break;
      if (!running || Abandoned()) break;
      curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
    if (abort_) {
      std::lock_guard<std::mutex> lock(abort_->mutex_);
      abort_->multi_ = nullptr;
    }

    curl_multi_remove_handle(multi, easy);
    curl_multi_cleanup(multi);
    if (!Abandoned()) {
      record_.reply_body = std::move(body_);
      record_.reply_headers = std::move(headers_);
      std::vector<std::pair<std::string, std::string>> cookies;
      record_.reply_cookies = ReplyCookies(record_.reply_headers, &cookies);
      // Cookies sent by the caller kept curl's cookie engine off: the reply's cookies are
      // stored here, for the host, as the engine would have.
      if (own_cookies) {
        for (const auto& [name, data] : cookies) {
          curl_easy_setopt(easy, CURLOPT_COOKIELIST, CookieFileLine(host, name, data).c_str());
        }
      }
    }
    curl_easy_cleanup(easy);
  }

 private:
  bool Abandoned() const { return abort_ && abort_->Abandoned(); }

  static size_t OnBody(char* data, size_t size, size_t count, void* p) {
    auto* self = static_cast<RequestTransfer*>(p);
    if (self->Abandoned()) return 0;
    self->body_.append(data, size * count);
    return size * count;
  }
  static size_t OnHeader(char* data, size_t size, size_t count, void* p) {
    auto* self = static_cast<RequestTransfer*>(p);
    std::string_view line(data, size * count);
    // Each reply of a redirect chain (and a proxy's tunnel answer) starts anew: the record
    // keeps the final reply's headers.
    if (line.substr(0, 5) == "HTTP/") self->headers_.clear();
    self->headers_.append(line);
    return size * count;
  }

  RequestRecord& record_;
  RequestAbort* abort_;
  std::string body_;
  std::string headers_;
};

void PerformRequest(RequestRecord& record, RequestAbort* abort) {
  RequestTransfer(record, abort).Run();
}

}  // namespace lw
