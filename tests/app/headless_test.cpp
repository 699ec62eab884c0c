// The headless harvest end to end: the real program against the loopback suggestion server.
#include <gtest/gtest.h>
#include <signal.h>

#include <sstream>
#include <thread>

#include "app/command_line.h"
#include "app/headless_view.h"
#include "app/links.h"
#include "app/suggestion_query.h"
#include "base/codepage.h"
#include "base/wait.h"
#include "tests/support/test_support.h"
#include "tools/suggest_server/suggest_server.h"

namespace lw {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

std::string Harvester() {
  return (ProgramFolder() / "harvester").string();
}

Strings Lines(const std::string& text) {
  Strings lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

TEST(SeedFile, LinesBecomeTheKeywordText) {
  EXPECT_EQ(SeedFileToKeywordText("a\nb"), "a\r\nb");
  EXPECT_EQ(SeedFileToKeywordText("a\r\nb\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(SeedFileToKeywordText("a\n\nb\n"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(SeedFileToKeywordText("\xEF\xBB\xBF连衣裙\n"), Utf8ToGbk("连衣裙\r\n"));
  EXPECT_EQ(SeedFileToKeywordText(""), "");
  EXPECT_EQ(SeedFileToKeywordText("\n"), "\r\n");
}

TEST(CommandLine, Errors) {
  CommandLine c;
  std::string error;
  EXPECT_FALSE(ParseCommandLine({"--headless"}, c, &error));
  EXPECT_FALSE(ParseCommandLine({"--seeds", "f"}, c, &error));
  EXPECT_FALSE(
      ParseCommandLine({"--headless", "--seeds", "f", "--endpoint", "ftp://x"}, c, &error));
  EXPECT_FALSE(ParseCommandLine({"--headless", "--seeds", "f", "--bogus"}, c, &error));
  EXPECT_FALSE(ParseCommandLine({"--headless", "--demo", "--seeds", "f", "--endpoint", "http://h"},
                                c, &error));
  EXPECT_FALSE(ParseCommandLine({"--headless", "--seeds"}, c, &error));
  ASSERT_TRUE(ParseCommandLine({"--headless", "--seeds", "f", "--endpoint", "http://h:1/",
                                "--output", "o", "--ca-file", "c"},
                               c, &error))
      << error;
  EXPECT_EQ(*c.endpoint, "http://h:1");
  EXPECT_EQ(*c.output_file, "o");
}

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seeds_ = dir_ / "seeds.txt";
    output_ = dir_ / "长尾词.txt";
  }
  std::vector<std::string> Command(const std::string& endpoint) {
    return {Harvester(),  "--headless", "--seeds",  seeds_.string(),
            "--endpoint", endpoint,     "--output", output_.string()};
  }
  test::TempDir dir_;
  std::filesystem::path seeds_;
  std::filesystem::path output_;
};

TEST_F(HeadlessTest, HarvestsOverHttpAndListsEveryWord) {
  // A small graph: each seed reaches five further words.
  SuggestServer server(SuggestServerConfig{7, 6, "", ""});
  ASSERT_TRUE(server.Start());
  test::WriteFile(seeds_, "连衣裙\r\nRed Dress\n");
  test::ChildProcess child(Command(server.Endpoint()));
  ASSERT_TRUE(child.started());
  EXPECT_EQ(child.Wait(), 0) << child.Stderr();

  // Rows: "ID<TAB>word", numbered across both seeds.
  Strings rows = Lines(child.Stdout());
  ASSERT_EQ(rows.size(), 10u) << child.Stdout();
  Strings words;
  for (size_t i = 0; i < rows.size(); ++i) {
    std::string id = std::to_string(i + 1) + "\t";
    ASSERT_EQ(rows[i].rfind(id, 0), 0u) << rows[i];
    words.push_back(rows[i].substr(id.size()));
    EXPECT_EQ(words.back().rfind(i < 5 ? "连衣裙 " : "reddress ", 0), 0u) << words.back();
  }
  // The queries: each seed in its normal form, then every word in the order it was listed.
  Strings queries;
  for (const auto& r : server.Requests()) {
    EXPECT_EQ(r.path, "/search_suggest");
    EXPECT_EQ(r.Header("User-Agent"),
              "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
              "Chrome/59.0.3071.115 Safari/537.36");
    EXPECT_EQ(r.Param("pdduid"), "4068213579");
    queries.push_back(r.Param("query"));
  }
  Strings expected{"连衣裙"};
  expected.insert(expected.end(), words.begin(), words.begin() + 5);
  expected.push_back("reddress");
  expected.insert(expected.end(), words.begin() + 5, words.end());
  EXPECT_EQ(queries, expected);

  // The output file: the same words in GBK, one per CR LF line.
  std::string file;
  for (const auto& w : words)
    file += Utf8ToGbk(w) + "\r\n";
  EXPECT_EQ(test::ReadFile(output_), file);
  Strings status = Lines(child.Stderr());
  ASSERT_GE(status.size(), 4u);
  EXPECT_EQ(status[0], "运行状态：软件已开始运行，请稍后......");
  EXPECT_EQ(status[1], "运行状态：正在采集第【1】个关键词【连衣裙】，请稍后......");
  EXPECT_EQ(status[2], "运行状态：正在采集第【2】个关键词【Red Dress】，请稍后......");
  EXPECT_EQ(status.back(), "运行状态：任务完成");
}

TEST_F(HeadlessTest, HarvestsOverHttpsWithTheTestCertificate) {
  test::Certificate cert = test::MakeTestCertificate(dir_.path());
  SuggestServer server(SuggestServerConfig{3, 3, cert.cert.string(), cert.key.string()});
  ASSERT_TRUE(server.Start());
  test::WriteFile(seeds_, "手机壳\n");
  auto command = Command(server.Endpoint());
  command.push_back("--ca-file");
  command.push_back(cert.cert.string());
  test::ChildProcess child(command);
  EXPECT_EQ(child.Wait(), 0) << child.Stderr();
  EXPECT_EQ(Lines(child.Stdout()).size(), 2u) << child.Stdout();
  EXPECT_EQ(server.Requests().size(), 3u);
}

TEST_F(HeadlessTest, AnInterruptStopsARequestThatNeverAnswers) {
  SuggestServer server;
  ASSERT_TRUE(server.Start());
  server.SetSuggestFault(SuggestFault::kNeverAnswer);
  test::WriteFile(seeds_, "连衣裙\n");
  test::ChildProcess child(Command(server.Endpoint()));
  for (int i = 0; i < 1000 && server.Requests().empty(); ++i)
    std::this_thread::sleep_for(10ms);
  ASSERT_EQ(server.Requests().size(), 1u);
  auto start = Clock::now();
  child.Signal(SIGINT);
  EXPECT_EQ(child.Wait(), 130);
  // Far below the request's 60-second time-out.
  EXPECT_LT(Clock::now() - start, 5s);
  EXPECT_EQ(child.Stdout(), "");
  EXPECT_EQ(Lines(child.Stderr()).back(), "运行状态：任务停止");
  EXPECT_FALSE(std::filesystem::exists(output_));
}

TEST_F(HeadlessTest, BadArgumentsAndSeedFilesAreUsageErrors) {
  test::WriteFile(seeds_, "");
  struct Case {
    std::vector<std::string> argv;
  };
  const std::vector<std::vector<std::string>> cases = {
      {Harvester(), "--headless"},
      {Harvester(), "--headless", "--seeds", (dir_ / "missing.txt").string()},
      {Harvester(), "--headless", "--seeds", dir_.path().string()},
      {Harvester(), "--headless", "--seeds", seeds_.string()},  // holds no seed
      {Harvester(), "--headless", "--seeds", seeds_.string(), "--endpoint", "nowhere"},
      {Harvester(), "--frobnicate"},
  };
  for (const auto& argv : cases) {
    test::ChildProcess child(argv);
    EXPECT_EQ(child.Wait(), 2) << argv.back();
    EXPECT_NE(child.Stderr().find("harvester:"), std::string::npos) << argv.back();
  }
}

}  // namespace
}  // namespace lw
