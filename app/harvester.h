// The harvest: the start and stop commands and the worker that expands every seed
// breadth-first through the suggestion replies.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/harvest_view.h"
#include "base/codepage.h"
#include "web/fetch_request.h"

namespace lw {

// The status texts, GBK like every text of the program.
inline const std::string kStatusStarted = Utf8ToGbk("运行状态：软件已开始运行，请稍后......");
inline const std::string kStatusFinished = Utf8ToGbk("运行状态：任务完成");
inline const std::string kStatusStopped = Utf8ToGbk("运行状态：任务停止");

// Fetches one request and answers the reply as GBK text (or the time-out message). It must
// return soon after `stop` is requested; what it returns then is not used.
using SuggestionFetch = std::function<std::string(const FetchRequest&, std::stop_token)>;

struct HarvestSettings {
  std::string endpoint;               // scheme, host and optional port
  std::filesystem::path output_file;  // accepted words are appended here
};

// "运行状态：正在采集第【n】个关键词【seed】，请稍后......" (GBK) for seed number n.
std::string SeedStatusText(int n, const std::string& seed);

class Harvester {
 public:
  Harvester(HarvestView& view, SuggestionFetch fetch, HarvestSettings settings);
  // Stops a running harvest and waits for every worker thread to end. Must not run on a thread
  // that the view's Invoke depends on.
  ~Harvester();
  Harvester(const Harvester&) = delete;
  Harvester& operator=(const Harvester&) = delete;

  // The start button: status text, start button disabled, a new worker. A harvest still
  // running is stopped first, so there is never more than one.
  void StartHarvest();
  // The stop button: status text, start button enabled, the running harvest ended at once.
  // Once it has returned, that harvest changes nothing any more and sends no request.
  void StopHarvest();

  // Waits until the current worker thread has ended (for front ends without a window).
  void WaitForWorker();

 private:
  struct Run;
  void RunHarvest(Run& run);
  // Runs `action` through the view unless the run has been stopped; false when stopped.
  bool Act(Run& run, const std::function<void()>& action);

  HarvestView& view_;
  SuggestionFetch fetch_;
  HarvestSettings settings_;

  struct Worker;
  std::mutex mutex_;             // guards workers_
  std::vector<Worker> workers_;  // the last one is the current harvest
};

}  // namespace lw
