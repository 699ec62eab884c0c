#include "app/harvester.h"

#include <atomic>

#include "app/containment.h"
#include "app/output_file.h"
#include "app/pause.h"
#include "app/seed_text.h"
#include "app/seen_set.h"
#include "app/suggestion_query.h"
#include "pattern/regex_object.h"

namespace lw {
namespace {

constexpr int kMaxExpansionsPerSeed = 999'999;
constexpr int kPauseAfterRequestMs = 200;

}  // namespace

struct Harvester::Run {
  std::stop_source stop;
  std::atomic<bool> finished{false};
};

struct Harvester::Worker {
  std::shared_ptr<Run> run;
  std::jthread thread;
};

std::string SeedStatusText(int n, const std::string& seed) {
  static const std::string before = Utf8ToGbk("运行状态：正在采集第【");
  static const std::string middle = Utf8ToGbk("】个关键词【");
  static const std::string after = Utf8ToGbk("】，请稍后......");
  return before + std::to_string(n) + middle + seed + after;
}

Harvester::Harvester(HarvestView& view, SuggestionFetch fetch, HarvestSettings settings)
    : view_(view), fetch_(std::move(fetch)), settings_(std::move(settings)) {}

Harvester::~Harvester() {
  std::vector<Worker> workers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    workers = std::move(workers_);
  }
  for (Worker& w : workers)
    w.run->stop.request_stop();
  for (Worker& w : workers) {
    if (w.thread.joinable()) w.thread.join();
  }
}

void Harvester::StartHarvest() {
  std::shared_ptr<Run> previous;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!workers_.empty()) previous = workers_.back().run;
  }
  view_.Invoke([&] {
    // Only one harvest at a time: one still running is ended before the new one starts.
    if (previous) previous->stop.request_stop();
    view_.SetStatusText(kStatusStarted);
    view_.SetStartDisabled(true);
  });
  auto run = std::make_shared<Run>();
  std::lock_guard<std::mutex> lock(mutex_);
  // Workers that have ended are joined here; a stopped one that has not ended yet stays until
  // it has (it no longer touches anything).
  std::erase_if(workers_, [](Worker& w) {
    if (!w.run->finished) return false;
    w.thread.join();
    return true;
  });
  Worker worker;
  worker.run = run;
  worker.thread = std::jthread([this, run] {
    RunHarvest(*run);
    run->finished = true;
    run->finished.notify_all();
  });
  workers_.push_back(std::move(worker));
}

void Harvester::StopHarvest() {
  std::shared_ptr<Run> run;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!workers_.empty()) run = workers_.back().run;
  }
  view_.Invoke([&] {
    view_.SetStatusText(kStatusStopped);
    view_.SetStartDisabled(false);
    if (run) run->stop.request_stop();
  });
}

void Harvester::WaitForWorker() {
  std::shared_ptr<Run> run;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!workers_.empty()) run = workers_.back().run;
  }
  if (run) run->finished.wait(false);
}

bool Harvester::Act(Run& run, const std::function<void()>& action) {
  bool done = false;
  view_.Invoke([&] {
    if (run.stop.stop_requested()) return;
    action();
    done = true;
  });
  return done;
}

void Harvester::RunHarvest(Run& run) {
  std::stop_token stop = run.stop.get_token();
  RegexObject parser;
  RegexObject tester;

  std::string text;
  if (!Act(run, [&] { text = view_.KeywordText(); })) return;
  // An empty keyword text starts nothing: the list keeps its rows and the status stays.
  if (text.empty()) return;
  if (!Act(run, [&] {
        view_.DeleteAllRows();
        text = view_.KeywordText();
      })) {
    return;
  }
  const std::vector<std::string> seeds = SplitSeeds(text);

  SeenSet seen;
  for (size_t n = 1; n <= seeds.size(); ++n) {
    const std::string& seed = seeds[n - 1];
    seen.Clear();
    if (!Act(run, [&] { view_.SetStatusText(SeedStatusText(static_cast<int>(n), seed)); })) {
      return;
    }
    const std::string normalised = NormaliseSeed(seed);
    seen.Insert(normalised);
    size_t cursor = 0;
    for (int expansion = 0; expansion < kMaxExpansionsPerSeed; ++expansion) {
      ++cursor;
      if (cursor > seen.Size()) break;
      const std::string word = seen.At(cursor);

      if (stop.stop_requested()) return;
      std::string reply = fetch_(SuggestionRequest(word, settings_.endpoint), stop);
      if (stop.stop_requested()) return;
      reply.resize(std::min(reply.size(), reply.find('\0')));

      const std::vector<std::string> suggestions = ParseSuggestions(reply, parser);
      // Always the seed's characters, never those of the word being expanded.
      const std::vector<std::string> characters = SplitIntoCharacters(normalised);
      std::vector<std::string> accepted;
      for (const std::string& s : suggestions) {
        if (ContainsAllCharacters(tester, characters, s) && seen.Insert(s)) accepted.push_back(s);
      }
      if (!Act(run, [&] {
            for (const std::string& s : accepted) {
              int row = view_.InsertRow();
              view_.SetCellText(row, 1, std::to_string(view_.RowCount()));
              view_.SetCellText(row, 2, s);
              AppendLine(settings_.output_file, s);
            }
            view_.EnsureVisible(view_.RowCount());
          })) {
        return;
      }
      if (!PauseWithEvents(kPauseAfterRequestMs, 0, stop)) return;
    }
  }
  Act(run, [&] {
    view_.EnsureVisible(view_.RowCount());
    view_.SetStartDisabled(false);
    view_.SetStatusText(kStatusFinished);
  });
}

}  // namespace lw
