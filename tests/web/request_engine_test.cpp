// The request engine on the wire: what a loopback server receives and what comes back.
#include <gtest/gtest.h>

#include "tools/suggest_server/suggest_server.h"
#include "web/http_request_engine.h"

namespace lw {
namespace {

class RequestEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server_.Start());
    ClearCookieStore();
  }
  std::string Url(const std::string& path) { return server_.Endpoint() + path; }
  // Performs a request and answers what the server saw of it.
  RecordedRequest Send(RequestRecord& record) {
    server_.ClearRequests();
    PerformRequest(record);
    auto seen = server_.Requests();
    return seen.empty() ? RecordedRequest{} : seen.back();
  }
  RequestRecord Get(const std::string& path, const std::string& headers = "") {
    RequestRecord r;
    r.url = Url(path);
    r.headers = headers;
    return r;
  }

  SuggestServer server_;
};

TEST(RequestHeaders, UserAgentRules) {
  EXPECT_EQ(UserAgentFor(""), "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
  EXPECT_EQ(UserAgentFor("User-Agent: Foo/1 \r\nX: y\r\n"), "Foo/1");
  EXPECT_EQ(UserAgentFor("user-agent:Foo\r\n"), "Foo");  // found without case, read with it
  // A single line without its line end: the text after the first colon.
  EXPECT_EQ(UserAgentFor("User-Agent: Bar/2 "), "Bar/2");
}

TEST(RequestHeaders, Completion) {
  RequestRecord r;
  r.url = "http://h/x";
  EXPECT_EQ(CompleteHeaders(r),
            "Accept: image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
            "application/x-shockwave-flash, application/vnd.ms-excel, "
            "application/vnd.ms-powerpoint, application/msword, */*\r\n"
            "Referer: http://h/x\r\nAccept-Language: zh-cn\r\n");
  // "Accept" is found inside "Accept-Language": neither default is added.
  r.headers = "Accept-Language: en\r\n";
  EXPECT_EQ(CompleteHeaders(r), "Accept-Language: en\r\nReferer: http://h/x\r\n");
  r.headers = "Accept: */*\r\nRefererNo\r\n";
  EXPECT_EQ(CompleteHeaders(r), "Accept: */*\r\n\r\nAccept-Language: zh-cn\r\n");
  r.headers = "Accept: */*\r\nreferer: http://from/\r\nAccept-Language: en\r\n";
  r.cookies = "a=1;b=2";
  EXPECT_EQ(CompleteHeaders(r), r.headers + "Cookie: a=1;b=2\r\n\r\n");
  r.method = 1;
  r.body = "k=v";
  r.cookies.clear();
  EXPECT_EQ(CompleteHeaders(r), r.headers +
                                    "Content-Type: application/x-www-form-urlencoded\r\n"
                                    "Content-Length: 3\r\n");
}

TEST(RequestHeaders, ReplyCookies) {
  std::vector<std::pair<std::string, std::string>> cookies;
  EXPECT_EQ(ReplyCookies("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; Path=/\r\nX: 1\r\n"
                         "set-cookie: b=2\r\n\r\n",
                         &cookies),
            "a=1;b=2;");
  ASSERT_EQ(cookies.size(), 2u);
  EXPECT_EQ(cookies[0], std::make_pair(std::string("a"), std::string("1; Path=/")));
  EXPECT_EQ(cookies[1], std::make_pair(std::string("b"), std::string("2")));
  EXPECT_EQ(ReplyCookies("HTTP/1.1 200 OK\r\n\r\n"), "");
}

TEST_F(RequestEngineTest, DefaultHeadersOnTheWire) {
  RequestRecord r = Get("/echo?x=1");
  RecordedRequest seen = Send(r);
  EXPECT_EQ(seen.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
  EXPECT_EQ(seen.Header("Referer"), Url("/echo?x=1"));
  EXPECT_EQ(seen.Header("Accept-Language"), "zh-cn");
  EXPECT_NE(seen.Header("Accept").find("image/gif"), std::string::npos);
  EXPECT_EQ(seen.target, "/echo?x=1");
  EXPECT_EQ(r.reply_body, "ok");
}

TEST_F(RequestEngineTest, CallerHeadersReplaceTheDefaults) {
  RequestRecord r =
      Get("/echo", "User-Agent:Mozilla/5.0 Test\r\nAccept-Language: en\r\nRefererNo\r\n");
  RecordedRequest seen = Send(r);
  EXPECT_EQ(seen.Header("User-Agent"), "Mozilla/5.0 Test");
  EXPECT_EQ(seen.Header("Accept-Language"), "en");
  EXPECT_FALSE(seen.HasHeader("Accept"));  // none of the engine's, none of curl's
  EXPECT_FALSE(seen.HasHeader("Referer"));
  r = Get("/echo", "Referer: http://elsewhere/\r\n");
  EXPECT_EQ(Send(r).Header("Referer"), "http://elsewhere/");
}

TEST_F(RequestEngineTest, PostSendsTheBodyWithContentHeaders) {
  RequestRecord r = Get("/echo");
  r.method = 1;
  r.body = "a=1&b=%E4";
  RecordedRequest seen = Send(r);
  EXPECT_EQ(seen.method, "POST");
  EXPECT_EQ(seen.body, r.body);
  EXPECT_EQ(seen.Header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(seen.Header("Content-Length"), "9");
  EXPECT_EQ(r.reply_body, "posted a=1&b=%E4");
}

TEST_F(RequestEngineTest, CookiesAreCollectedAndSentAgain) {
  RequestRecord set = Get("/set-cookies");
  PerformRequest(set);
  EXPECT_EQ(set.reply_cookies, "a=1;b=2;");
  RequestRecord next = Get("/echo");
  std::string cookie = Send(next).Header("Cookie");
  EXPECT_NE(cookie.find("a=1"), std::string::npos) << cookie;
  EXPECT_NE(cookie.find("b=2"), std::string::npos) << cookie;
  // The caller's cookie text goes out in place of the store's.
  RequestRecord own = Get("/echo");
  own.cookies = "x=9";
  EXPECT_EQ(Send(own).Header("Cookie"), "x=9");
}

TEST_F(RequestEngineTest, CookiesSetWhileSendingOwnCookiesAreStillStored) {
  RequestRecord set = Get("/set-cookies");
  set.cookies = "mine=1";
  EXPECT_EQ(Send(set).Header("Cookie"), "mine=1");
  EXPECT_EQ(set.reply_cookies, "a=1;b=2;");
  RequestRecord next = Get("/echo");
  std::string cookie = Send(next).Header("Cookie");
  EXPECT_NE(cookie.find("a=1"), std::string::npos) << cookie;
  EXPECT_NE(cookie.find("b=2"), std::string::npos) << cookie;
  EXPECT_EQ(cookie.find("mine"), std::string::npos) << cookie;
}

TEST_F(RequestEngineTest, RedirectsAreFollowedUnlessForbidden) {
  RequestRecord r = Get("/redirect?to=/echo");
  PerformRequest(r);
  EXPECT_EQ(r.reply_body, "ok");
  EXPECT_EQ(r.reply_headers.rfind("HTTP/1.1 200", 0), 0u) << r.reply_headers;
  RequestRecord stay = Get("/redirect?to=/echo");
  stay.no_redirect = true;
  server_.ClearRequests();
  PerformRequest(stay);
  EXPECT_EQ(stay.reply_headers.rfind("HTTP/1.1 302", 0), 0u) << stay.reply_headers;
  EXPECT_NE(stay.reply_headers.find("Location: /echo\r\n"), std::string::npos);
  EXPECT_EQ(server_.Requests().size(), 1u);
}

TEST_F(RequestEngineTest, ReplyHeadersAreRawLines) {
  RequestRecord r = Get("/status?code=500");
  PerformRequest(r);
  EXPECT_EQ(r.reply_body, "error body 500");
  EXPECT_EQ(r.reply_headers.rfind("HTTP/1.1 500 ", 0), 0u);
  EXPECT_NE(r.reply_headers.find("\r\nContent-Length: 14\r\n"), std::string::npos);
  EXPECT_EQ(r.reply_headers.substr(r.reply_headers.size() - 4), "\r\n\r\n");
}

TEST_F(RequestEngineTest, NoServerGivesAnEmptyBody) {
  int port = server_.Port();
  server_.Stop();
  RequestRecord r;
  r.url = "http://127.0.0.1:" + std::to_string(port) + "/echo";
  PerformRequest(r);
  EXPECT_EQ(r.reply_body, "");
}

TEST_F(RequestEngineTest, ADroppedConnectionKeepsWhatCame) {
  RequestRecord r = Get("/close");
  PerformRequest(r);
  EXPECT_LT(r.reply_body.size(), 100000u);
  EXPECT_EQ(r.reply_body.find_first_not_of('p'), std::string::npos);
}

TEST_F(RequestEngineTest, AProxyGetsTheRequest) {
  SuggestServer proxy;
  ASSERT_TRUE(proxy.Start());
  RequestRecord r;
  r.url = "http://origin.invalid/echo?q=1";
  r.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
  PerformRequest(r);
  EXPECT_EQ(r.reply_body, "proxied http://origin.invalid/echo?q=1");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_TRUE(server_.Requests().empty());
}

}  // namespace
}  // namespace lw
