#include "app/harvester.h"

#include <gtest/gtest.h>

#include <array>
#include <condition_variable>
#include <fstream>
#include <map>
#include <sstream>

#include "app/suggestion_query.h"
#include "base/codepage.h"
#include "base/wait.h"

namespace lw {
namespace {

using Strings = std::vector<std::string>;
using namespace std::chrono_literals;

std::string G(const std::string& utf8) {
  return Utf8ToGbk(utf8);
}

constexpr std::string_view kEndpoint = "https://suggest.test";

// Records every control change; actions run under one lock, as a view without a thread of its
// own does it.
class FakeView : public HarvestView {
 public:
  void Invoke(const std::function<void()>& action) override {
    std::lock_guard<std::mutex> lock(mutex_);
    action();
  }
  std::string KeywordText() override { return keyword_text_; }
  void DeleteAllRows() override {
    Log("DeleteAllRows");
    rows_.clear();
  }
  int InsertRow() override {
    Log("InsertRow");
    rows_.push_back({});
    return static_cast<int>(rows_.size());
  }
  void SetCellText(int row, int column, const std::string& text) override {
    Log("SetCellText");
    rows_.at(static_cast<size_t>(row - 1)).at(static_cast<size_t>(column - 1)) = text;
  }
  int RowCount() override { return static_cast<int>(rows_.size()); }
  void EnsureVisible(int row) override { Log("EnsureVisible " + std::to_string(row)); }
  void SetStatusText(const std::string& text) override {
    Log("SetStatusText");
    statuses_.push_back(text);
  }
  void SetStartDisabled(bool disabled) override {
    Log(disabled ? "Disable" : "Enable");
    start_disabled_ = disabled;
  }

  void SetKeywordText(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    keyword_text_ = text;
  }
  void SetRows(std::vector<std::array<std::string, 2>> rows) {
    std::lock_guard<std::mutex> lock(mutex_);
    rows_ = std::move(rows);
  }
  std::vector<std::array<std::string, 2>> Rows() {
    std::lock_guard<std::mutex> lock(mutex_);
    return rows_;
  }
  Strings Statuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
  }
  bool StartDisabled() {
    std::lock_guard<std::mutex> lock(mutex_);
    return start_disabled_;
  }
  size_t CallCount() {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_.size();
  }

 private:
  void Log(const std::string& call) { log_.push_back(call); }

  std::mutex mutex_;
  std::string keyword_text_;
  std::vector<std::array<std::string, 2>> rows_;
  Strings statuses_;
  Strings log_;
  bool start_disabled_ = false;
};

// The word a suggestion request asks about, read back from its URL.
std::string WordOf(const std::string& url) {
  size_t a = url.find("&query=") + 7;
  size_t b = url.find("&pdduid=");
  std::string encoded = url.substr(a, b - a), utf8;
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%') {
      utf8 += static_cast<char>(std::stoi(encoded.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      utf8 += encoded[i];
    }
  }
  return Utf8ToGbk(utf8);
}

// A suggestion graph: the reply for every word; words it does not know get an empty reply.
class FakeFetch {
 public:
  explicit FakeFetch(std::map<std::string, std::string> replies) : replies_(std::move(replies)) {}

  SuggestionFetch Function() {
    return [this](const FetchRequest& request, std::stop_token stop) {
      std::string word = WordOf(request.url);
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(word);
        urls_.push_back(request.url);
      }
      cv_.notify_all();
      if (hook_) return hook_(word, stop);
      auto it = replies_.find(word);
      return it == replies_.end() ? std::string() : it->second;
    };
  }
  // Replaces the scripted replies by a routine of the test's own.
  void SetHook(std::function<std::string(const std::string&, std::stop_token)> hook) {
    hook_ = std::move(hook);
  }
  Strings Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  Strings Urls() {
    std::lock_guard<std::mutex> lock(mutex_);
    return urls_;
  }
  // Waits (at most 10 s) until `n` requests have been made.
  bool WaitForRequests(size_t n) {
    std::unique_lock<std::mutex> lock(mutex_);
    return cv_.wait_for(lock, 10s, [&] { return requests_.size() >= n; });
  }

 private:
  std::map<std::string, std::string> replies_;
  std::function<std::string(const std::string&, std::stop_token)> hook_;
  std::mutex mutex_;
  std::condition_variable cv_;
  Strings requests_;
  Strings urls_;
};

// A reply as the endpoint sends it (after the fetch's conversion to GBK).
std::string Reply(const Strings& words) {
  std::string r = "{\"result\":{\"suggest\":{\"list\":[";
  for (size_t i = 0; i < words.size(); ++i)
    r += (i ? ",\"" : "\"") + words[i] + "\"";
  return r + "]}}}";
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class HarvesterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("lw_harvest_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    output_ = dir_ / std::filesystem::u8path("长尾词.txt");
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  HarvestSettings Settings() { return {std::string(kEndpoint), output_}; }

  // Runs one whole harvest of `text` over `fetch` and waits for it to finish.
  void Harvest(const std::string& text, FakeFetch& fetch) {
    view_.SetKeywordText(text);
    Harvester harvester(view_, fetch.Function(), Settings());
    harvester.StartHarvest();
    harvester.WaitForWorker();
  }

  Strings Column(int c) {
    Strings out;
    for (const auto& row : view_.Rows())
      out.push_back(row[static_cast<size_t>(c - 1)]);
    return out;
  }

  std::filesystem::path dir_;
  std::filesystem::path output_;
  FakeView view_;
};

TEST_F(HarvesterTest, ExpandsEverySeedBreadthFirst) {
  FakeFetch fetch({
      {"reddress", Reply({"reddress", "dress red", "blue", "Red dress"})},
      {"dress red", Reply({"red dress 2", "dress red"})},
      {"ab", Reply({"ba", "dress red", "AB"})},
      {"ba", Reply({"ab", "abc"})},
      {"AB", Reply({"abc"})},
  });
  Harvest("Red Dress\r\nab", fetch);

  // The query and the test use the normal form; the seed itself is never added again.
  EXPECT_EQ(fetch.Requests(), (Strings{"reddress", "dress red", "Red dress", "red dress 2", "ab",
                                       "ba", "AB", "abc"}));
  EXPECT_EQ(fetch.Urls().front(), BuildSuggestionUrl("reddress", kEndpoint));
  // Row numbers run on across seeds.
  EXPECT_EQ(Column(1), (Strings{"1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(Column(2), (Strings{"dress red", "Red dress", "red dress 2", "ba", "AB", "abc"}));
  EXPECT_EQ(ReadFile(output_), "dress red\r\nRed dress\r\nred dress 2\r\nba\r\nAB\r\nabc\r\n");
  EXPECT_EQ(view_.Statuses(), (Strings{kStatusStarted, SeedStatusText(1, "Red Dress"),
                                       SeedStatusText(2, "ab"), kStatusFinished}));
  EXPECT_FALSE(view_.StartDisabled());
}

TEST_F(HarvesterTest, TheSeenSetBelongsToOneSeed) {
  // The empty line is a seed that accepts everything; the same word is listed again under a
  // later seed, but once within a seed.
  FakeFetch fetch({
      {"x", Reply({"xa", "xa"})},
      {"", Reply({"xa", G("全部")})},
  });
  Harvest("x\r\n\r\nx\r\n", fetch);
  EXPECT_EQ(fetch.Requests(), (Strings{"x", "xa", "", "xa", G("全部"), "x", "xa"}));
  EXPECT_EQ(Column(2), (Strings{"xa", "xa", G("全部"), "xa"}));
  EXPECT_EQ(fetch.Urls()[2].find("&query=&pdduid=4068213579") != std::string::npos, true);
  EXPECT_EQ(ReadFile(output_), "xa\r\nxa\r\n" + G("全部") + "\r\nxa\r\n");
}

TEST_F(HarvesterTest, SuggestionsMustHoldEveryCharacterOfTheSeed) {
  FakeFetch fetch({
      // Case is ignored by the test but not by the seen set.
      {"abc", Reply({"ABC", "cab d", "Cab d", "ab", "a b c"})},
      {G("红裙"), Reply({G("裙子红色"), G("红色"), G("红红裙裙")})},
  });
  Harvest("abc\r\n" + G("红裙"), fetch);
  EXPECT_EQ(Column(2), (Strings{"ABC", "cab d", "Cab d", "a b c", G("裙子红色"), G("红红裙裙")}));
}

TEST_F(HarvesterTest, SeedCharactersActAsPatterns) {
  FakeFetch fetch({
      // "." matches any character, so "a." only needs an "a" and one more character.
      {"a.", Reply({"ab", "b", "a"})},
      // A lone "*" is no valid pattern: the seed accepts nothing and asks only once.
      {"*", Reply({"*", "a*b"})},
      // "$" always matches.
      {"$", Reply({"anything"})},
  });
  Harvest("a.\r\n*\r\n$", fetch);
  EXPECT_EQ(Column(2), (Strings{"ab", "a", "anything"}));
  EXPECT_EQ(fetch.Requests(), (Strings{"a.", "ab", "a", "*", "$", "anything"}));
}

TEST_F(HarvesterTest, OnlyTheLastArrayOfAReplyCounts) {
  FakeFetch fetch(std::map<std::string, std::string>{
      {"k", "{\"hot\":[\"k1\",\"k2\"],\"list\":[\"k3\",\"k4\"]}"}});
  Harvest("k", fetch);
  EXPECT_EQ(Column(2), (Strings{"k3", "k4"}));
}

TEST_F(HarvesterTest, AnEmptyKeywordTextDoesNothing) {
  view_.SetRows({{"1", "old"}});
  FakeFetch fetch({});
  Harvest("", fetch);
  EXPECT_TRUE(fetch.Requests().empty());
  EXPECT_EQ(Column(2), Strings{"old"});
  EXPECT_EQ(view_.Statuses(), Strings{kStatusStarted});
  EXPECT_TRUE(view_.StartDisabled());
  EXPECT_FALSE(std::filesystem::exists(output_));
}

TEST_F(HarvesterTest, ANewHarvestClearsTheListAndAppendsToTheFile) {
  { std::ofstream(output_, std::ios::binary) << "kept\r\n"; }
  view_.SetRows({{"1", "old"}});
  FakeFetch fetch(std::map<std::string, std::string>{{"q", Reply({"q1"})}});
  Harvest("q", fetch);
  Harvest("q", fetch);
  EXPECT_EQ(Column(1), Strings{"1"});
  EXPECT_EQ(ReadFile(output_), "kept\r\nq1\r\nq1\r\n");
}

TEST_F(HarvesterTest, AnUnwritableOutputFileStillListsTheWords) {
  output_ = dir_;  // a folder cannot be opened for writing
  FakeFetch fetch(std::map<std::string, std::string>{{"q", Reply({"q1", "q2"})}});
  Harvest("q", fetch);
  EXPECT_EQ(Column(2), (Strings{"q1", "q2"}));
  EXPECT_EQ(view_.Statuses().back(), kStatusFinished);
}

TEST_F(HarvesterTest, StopDuringARequestEndsTheHarvestAtOnce) {
  FakeFetch fetch({});
  // The request never answers by itself: it returns only when told to stop.
  fetch.SetHook([](const std::string&, std::stop_token stop) {
    std::mutex m;
    std::condition_variable_any cv;
    std::unique_lock<std::mutex> lock(m);
    cv.wait_for(lock, stop, 60s, [] { return false; });
    return Reply({"q late1", "q late2"});
  });
  view_.SetKeywordText("q");
  Harvester harvester(view_, fetch.Function(), Settings());
  harvester.StartHarvest();
  ASSERT_TRUE(fetch.WaitForRequests(1));

  auto start = Clock::now();
  harvester.StopHarvest();
  size_t calls_at_stop = view_.CallCount();
  harvester.WaitForWorker();
  // Far below the minute the request would otherwise take.
  EXPECT_LT(Clock::now() - start, 5s);

  EXPECT_EQ(view_.CallCount(), calls_at_stop);
  EXPECT_TRUE(view_.Rows().empty());
  EXPECT_EQ(view_.Statuses().back(), kStatusStopped);
  EXPECT_FALSE(view_.StartDisabled());
  EXPECT_EQ(fetch.Requests().size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(output_));
}

TEST_F(HarvesterTest, StopDuringThePauseSendsNoFurtherRequest) {
  FakeFetch fetch(std::map<std::string, std::string>{{"q", Reply({"q1", "q2", "q3"})}});
  view_.SetKeywordText("q");
  Harvester harvester(view_, fetch.Function(), Settings());
  harvester.StartHarvest();
  ASSERT_TRUE(fetch.WaitForRequests(1));
  // The worker lists the first reply, then pauses 200 ms before the next request.
  for (int i = 0; i < 1000 && view_.Rows().size() < 3; ++i)
    std::this_thread::sleep_for(1ms);
  harvester.StopHarvest();
  harvester.WaitForWorker();
  EXPECT_EQ(fetch.Requests(), Strings{"q"});
  EXPECT_EQ(Column(2), (Strings{"q1", "q2", "q3"}));
  EXPECT_EQ(ReadFile(output_), "q1\r\nq2\r\nq3\r\n");
}

TEST_F(HarvesterTest, AStoppedWorkerCannotTouchTheNextHarvest) {
  FakeFetch fetch({});
  std::atomic<int> calls{0};
  // The first request ends only some time after its stop and then still answers words; the
  // harvest started after the stop must not see any of them.
  fetch.SetHook([&](const std::string& word, std::stop_token stop) {
    if (calls++ == 0) {
      while (!stop.stop_requested())
        std::this_thread::sleep_for(1ms);
      std::this_thread::sleep_for(300ms);
      return Reply({"q stale1", "q stale2"});
    }
    return word == "q" ? Reply({"q fresh"}) : std::string();
  });
  view_.SetKeywordText("q");
  Harvester harvester(view_, fetch.Function(), Settings());
  harvester.StartHarvest();
  ASSERT_TRUE(fetch.WaitForRequests(1));
  harvester.StopHarvest();
  harvester.StartHarvest();
  harvester.WaitForWorker();
  std::this_thread::sleep_for(400ms);  // the stale request has answered by now
  EXPECT_EQ(Column(1), Strings{"1"});
  EXPECT_EQ(Column(2), Strings{"q fresh"});
  EXPECT_EQ(ReadFile(output_), "q fresh\r\n");
  EXPECT_EQ(view_.Statuses().back(), kStatusFinished);
}

TEST_F(HarvesterTest, StartingAgainWhileRunningEndsTheFirstHarvest) {
  FakeFetch fetch({});
  fetch.SetHook([](const std::string& word, std::stop_token stop) {
    if (word == "slow") {
      while (!stop.stop_requested())
        std::this_thread::sleep_for(1ms);
      return Reply({"slow 1"});
    }
    return std::string();
  });
  view_.SetKeywordText("slow");
  Harvester harvester(view_, fetch.Function(), Settings());
  harvester.StartHarvest();
  ASSERT_TRUE(fetch.WaitForRequests(1));
  view_.SetKeywordText("other");
  harvester.StartHarvest();
  harvester.WaitForWorker();
  EXPECT_EQ(fetch.Requests(), (Strings{"slow", "other"}));
  EXPECT_TRUE(view_.Rows().empty());
  EXPECT_EQ(view_.Statuses().back(), kStatusFinished);
}

TEST(HarvestTexts, StatusTextsAreGbk) {
  EXPECT_EQ(GbkToUtf8Text(SeedStatusText(2, G("红裙"))),
            "运行状态：正在采集第【2】个关键词【红裙】，请稍后......");
  EXPECT_EQ(GbkToUtf8Text(kStatusStarted), "运行状态：软件已开始运行，请稍后......");
  EXPECT_EQ(GbkToUtf8Text(kStatusFinished), "运行状态：任务完成");
  EXPECT_EQ(GbkToUtf8Text(kStatusStopped), "运行状态：任务停止");
}

TEST_F(HarvesterTest, StopWithoutAHarvestOnlyChangesStatusAndButton) {
  FakeFetch fetch({});
  Harvester harvester(view_, fetch.Function(), Settings());
  harvester.StopHarvest();
  EXPECT_EQ(view_.Statuses(), Strings{kStatusStopped});
  EXPECT_FALSE(view_.StartDisabled());
}

}  // namespace
}  // namespace lw
