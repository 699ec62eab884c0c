#include "app/headless_harvest.h"

#include <signal.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/harvester.h"
#include "app/headless_view.h"
#include "tools/suggest_server/suggest_server.h"
#include "web/http_request_engine.h"
#include "web/web_fetch.h"

namespace lw {
namespace {

bool ReadWholeFile(const std::filesystem::path& path, std::string& out) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return !in.bad();
}

}  // namespace

int RunHeadlessHarvest(const CommandLine& command, const AppSettings& settings) {
  std::string seeds;
  if (!ReadWholeFile(command.seeds_file, seeds)) {
    std::fprintf(stderr, "harvester: cannot read the seeds file %s\n%s", command.seeds_file.c_str(),
                 UsageText().c_str());
    return kExitUsage;
  }
  std::string keyword_text = SeedFileToKeywordText(seeds);
  if (keyword_text.empty()) {
    std::fprintf(stderr, "harvester: the seeds file %s holds no seed\n",
                 command.seeds_file.c_str());
    return kExitUsage;
  }

  HarvestSettings harvest{settings.endpoint, settings.output_file};
  std::unique_ptr<SuggestServer> demo;
  if (command.demo) {
    demo = std::make_unique<SuggestServer>(SuggestServerConfig{});
    if (!demo->Start()) {
      std::fprintf(stderr, "harvester: the demo suggestion service cannot start\n");
      return 1;
    }
    harvest.endpoint = demo->Endpoint();
    std::fprintf(stderr, "harvester: demo suggestion service at %s\n", harvest.endpoint.c_str());
  }
  if (!settings.ca_file.empty()) SetExtraCaFile(settings.ca_file);

  HeadlessView view(keyword_text, stdout, stderr);
  Harvester harvester(
      view, [](const FetchRequest& r, std::stop_token stop) { return WebFetch(r, stop); }, harvest);

  // SIGINT and SIGTERM press the stop button, from a thread that waits for them.
  std::atomic<bool> done{false};
  std::atomic<bool> stopped{false};
  std::thread signals([&] {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    timespec tick{0, 50'000'000};
    while (!done) {
      if (sigtimedwait(&set, nullptr, &tick) > 0) {
        stopped = true;
        harvester.StopHarvest();
        return;
      }
    }
  });

  harvester.StartHarvest();
  harvester.WaitForWorker();
  done = true;
  signals.join();
  if (demo) demo->Stop();
  if (view.Status() == kStatusFinished) return kExitFinished;
  return stopped ? kExitStopped : 1;
}

}  // namespace lw
