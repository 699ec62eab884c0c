// The page fetch against a loopback server: time-outs, cancellation, conversions, HTTPS.
#include "web/web_fetch.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/codepage.h"
#include "base/wait.h"
#include "tests/support/test_support.h"
#include "tools/suggest_server/suggest_server.h"
#include "web/http_request_engine.h"

namespace lw {
namespace {

using namespace std::chrono_literals;

FetchRequest Request(const std::string& url, ReplyConversion conversion = ReplyConversion::kNone) {
  FetchRequest r;
  r.url = url;
  r.conversion = conversion;
  return r;
}

// Waits (at most 10 s) until every request thread has ended.
bool RequestThreadsEnd() {
  for (int i = 0; i < 1000 && LiveRequestThreads() != 0; ++i)
    std::this_thread::sleep_for(10ms);
  return LiveRequestThreads() == 0;
}

class WebFetchTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.Start()); }
  void TearDown() override {
    server_.Stop();
    EXPECT_TRUE(RequestThreadsEnd());
  }
  std::string Url(const std::string& path) { return server_.Endpoint() + path; }
  SuggestServer server_;
};

TEST_F(WebFetchTest, TheTimeOutMessageIsExact) {
  EXPECT_EQ(GbkToUtf8Text(TimeoutMessage()),
            "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置"
            "长一些。");
}

TEST_F(WebFetchTest, BlankUrlsFetchNothing) {
  EXPECT_EQ(WebFetch(Request("")), "");
  EXPECT_EQ(WebFetch(Request("  \t ")), "");
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(WebFetchTest, AUrlWithoutASchemeGoesOverHttp) {
  EXPECT_EQ(WebFetch(Request("127.0.0.1:" + std::to_string(server_.Port()) + "/echo")), "ok");
}

TEST_F(WebFetchTest, OutputsReceiveHeadersAndCookies) {
  ClearCookieStore();
  std::string headers, cookies;
  EXPECT_EQ(WebFetch(Request(Url("/set-cookies")), {}, &headers, &cookies), "cookies set");
  EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u);
  EXPECT_EQ(cookies, "a=1;b=2;");
}

TEST_F(WebFetchTest, AShortTimeOutAnswersTheMessage) {
  FetchRequest r = Request(Url("/never"));
  r.timeout_seconds = 1;
  std::string headers = "untouched";
  auto start = Clock::now();
  EXPECT_EQ(WebFetch(r, {}, &headers), TimeoutMessage());
  auto took = Clock::now() - start;
  EXPECT_GE(took, 1s);
  EXPECT_LT(took, 5s);
  EXPECT_EQ(headers, "untouched");  // a timed-out fetch fills no output
}

TEST_F(WebFetchTest, TheMessageIsNotConverted) {
  FetchRequest r = Request(Url("/never"), ReplyConversion::kUtf8ToGbk);
  r.timeout_seconds = 1;
  EXPECT_EQ(WebFetch(r), TimeoutMessage());
}

TEST_F(WebFetchTest, AStopAbandonsARequestThatNeverAnswersAtOnce) {
  std::stop_source stop;
  std::thread stopper([&] {
    std::this_thread::sleep_for(100ms);
    stop.request_stop();
  });
  auto start = Clock::now();
  EXPECT_EQ(WebFetch(Request(Url("/never")), stop.get_token()), "");
  // Far below the 60-second time-out.
  EXPECT_LT(Clock::now() - start, 2s);
  stopper.join();
  EXPECT_TRUE(RequestThreadsEnd());
}

TEST_F(WebFetchTest, AnAbandonedRequestLeavesTheCallerAlone) {
  // Many abandoned fetches in a row; each request thread ends on its own, and none writes
  // into what its caller has let go (the sanitizer builds would see it).
  for (int i = 0; i < 20; ++i) {
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(WebFetch(Request(Url("/slow?ms=50")), stop.get_token()), "");
  }
  EXPECT_TRUE(RequestThreadsEnd());
}

TEST_F(WebFetchTest, ALargeBodyArrivesWhole) {
  std::string body = WebFetch(Request(Url("/large?mb=24")));
  ASSERT_EQ(body.size(), 24u * 1024 * 1024);
  EXPECT_EQ(body[0], 'a');
  EXPECT_EQ(body[body.size() - 1], static_cast<char>('a' + (body.size() - 1) % 26));
}

TEST_F(WebFetchTest, Conversions) {
  // 0: the bytes as they came, whatever they are.
  EXPECT_EQ(WebFetch(Request(Url("/utf8"))), "长尾词 abc");
  EXPECT_EQ(WebFetch(Request(Url("/bytes"))), "ok \xFF\xFE\x80 \xC3( \xBA\xEC end");
  // 1: UTF-8 to GBK; bytes that are not UTF-8 do not stop the text.
  EXPECT_EQ(WebFetch(Request(Url("/utf8"), ReplyConversion::kUtf8ToGbk)), Utf8ToGbk("长尾词 abc"));
  std::string odd = WebFetch(Request(Url("/bytes"), ReplyConversion::kUtf8ToGbk));
  EXPECT_EQ(odd.rfind("ok ", 0), 0u);
  EXPECT_EQ(odd.substr(odd.size() - 4), " end");
  // 2: Big5 to GBK with traditional characters made simplified.
  EXPECT_EQ(WebFetch(Request(Url("/big5"), ReplyConversion::kBig5ToGbk)), Utf8ToGbk("体验网络"));
}

TEST_F(WebFetchTest, AnErrorStatusStillAnswersItsBody) {
  EXPECT_EQ(WebFetch(Request(Url("/status?code=404"))), "error body 404");
}

class HttpsFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cert_ = test::MakeTestCertificate(dir_.path());
    server_ = std::make_unique<SuggestServer>(
        SuggestServerConfig{1, 60, cert_.cert.string(), cert_.key.string()});
    ASSERT_TRUE(server_->Start());
  }
  void TearDown() override {
    SetExtraCaFile({});
    server_->Stop();
    EXPECT_TRUE(RequestThreadsEnd());
  }
  test::TempDir dir_;
  test::Certificate cert_;
  std::unique_ptr<SuggestServer> server_;
};

TEST_F(HttpsFetchTest, TheTestCertificateIsTrustedOnlyWhenGiven) {
  std::string url = server_->Endpoint() + "/utf8";
  ASSERT_EQ(url.rfind("https://127.0.0.1:", 0), 0u);
  // The peer is verified: an unknown certificate gives nothing.
  EXPECT_EQ(WebFetch(Request(url)), "");
  EXPECT_TRUE(server_->Requests().empty());
  SetExtraCaFile(cert_.cert);
  // The explicit port of the URL is the one connected to.
  EXPECT_EQ(WebFetch(Request(url, ReplyConversion::kUtf8ToGbk)), Utf8ToGbk("长尾词 abc"));
  EXPECT_EQ(server_->Requests().size(), 1u);
}

}  // namespace
}  // namespace lw
