// The harvest over the loopback suggestion server: how close it runs to the floor that its
// 200 ms pause sets, and how fast a stop ends a harvest whose request never answers.
#include <benchmark/benchmark.h>

#include <thread>

#include "app/harvester.h"
#include "app/headless_view.h"
#include "base/codepage.h"
#include "base/wait.h"
#include "tools/suggest_server/suggest_server.h"
#include "web/web_fetch.h"

namespace lw {
namespace {

SuggestionFetch RealFetch() {
  return [](const FetchRequest& r, std::stop_token stop) { return WebFetch(r, stop); };
}

std::filesystem::path Output() {
  return std::filesystem::temp_directory_path() / "lw_bench_output.txt";
}

// One seed whose graph holds 60 words: 60 expansions, each a real HTTP request and a pause.
void BM_HeadlessHarvest(benchmark::State& state) {
  SuggestServer server(SuggestServerConfig{11, 60, "", ""});
  server.Start();
  double expansions = 0, seconds = 0;
  for (auto _ : state) {
    server.ClearRequests();
    HeadlessView view(Utf8ToGbk("连衣裙"), nullptr, nullptr);
    Harvester harvester(view, RealFetch(), {server.Endpoint(), Output()});
    auto start = Clock::now();
    harvester.StartHarvest();
    harvester.WaitForWorker();
    seconds += std::chrono::duration<double>(Clock::now() - start).count();
    expansions += static_cast<double>(server.Requests().size());
  }
  std::filesystem::remove(Output());
  state.counters["expansions"] = expansions / static_cast<double>(state.iterations());
  state.counters["expansions_per_s"] = expansions / seconds;
  state.counters["floor_per_s"] = 1000.0 / 200.0;
  state.counters["overhead_ms"] = (seconds / expansions - 0.200) * 1000.0;
}
BENCHMARK(BM_HeadlessHarvest)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the stop button to the worker's end, while its request never answers.
void BM_StopWhileRequestNeverAnswers(benchmark::State& state) {
  SuggestServer server;
  server.Start();
  server.SetSuggestFault(SuggestFault::kNeverAnswer);
  for (auto _ : state) {
    state.PauseTiming();
    server.ClearRequests();
    HeadlessView view(Utf8ToGbk("连衣裙"), nullptr, nullptr);
    Harvester harvester(view, RealFetch(), {server.Endpoint(), Output()});
    harvester.StartHarvest();
    for (int i = 0; i < 5000 && server.Requests().empty(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state.ResumeTiming();
    harvester.StopHarvest();
    harvester.WaitForWorker();
  }
  state.SetLabel("stop to worker end");
}
BENCHMARK(BM_StopWhileRequestNeverAnswers)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One suggestion request through the page fetch, without the pause.
void BM_SuggestionFetch(benchmark::State& state) {
  SuggestServer server;
  server.Start();
  FetchRequest request;
  request.url = server.Endpoint() + "/search_suggest?query=%E8%BF%9E&pdduid=1";
  request.conversion = ReplyConversion::kUtf8ToGbk;
  for (auto _ : state)
    benchmark::DoNotOptimize(WebFetch(request));
}
BENCHMARK(BM_SuggestionFetch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace lw
