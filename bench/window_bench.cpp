// How fast a message posted from another thread reaches a waiting message loop: on an X
// server of the benchmark's own (the loop waits in poll on the display and its wake-up) and
// on the headless backend (a condition variable).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/support/test_support.h"
#include "ui/core/window/headless_backend.h"
#include "ui/core/window/window_system.h"
#include "ui/core/window/x11_backend.h"

namespace lw::ws {
namespace {

using Clock = std::chrono::steady_clock;

void MeasureWake(benchmark::State& state) {
  WindowClassInfo cls;
  cls.name = "Bench";
  RegisterClass(cls);
  CreateParams p;
  p.class_name = "Bench";
  p.rect = {0, 0, 10, 10};
  Hwnd h = CreateWindow(p);
  std::atomic<int64_t> posted_at{0};
  double total_us = 0, worst_us = 0;
  for (auto _ : state) {
    std::thread poster([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      posted_at = Clock::now().time_since_epoch().count();
      PostMessage(h, WM_USER, 0, 0);
    });
    Msg msg;
    while (GetMessage(msg) && msg.message != WM_USER)
      DispatchMessage(msg);
    double us = std::chrono::duration<double, std::micro>(
                    Clock::now().time_since_epoch() - std::chrono::nanoseconds(posted_at.load()))
                    .count();
    total_us += us;
    worst_us = std::max(worst_us, us);
    poster.join();
  }
  state.counters["wake_us_mean"] = total_us / static_cast<double>(state.iterations());
  state.counters["wake_us_worst"] = worst_us;
  DestroyWindow(h);
}

void BM_PostWakesX11Loop(benchmark::State& state) {
  test::XServer server;
  std::string error;
  if (!server.running() || !UseX11WindowSystem(&error)) {
    state.SkipWithError(("no X server: " + server.why() + error).c_str());
    return;
  }
  MeasureWake(state);
  ShutdownWindowSystem();
}
BENCHMARK(BM_PostWakesX11Loop)->Iterations(200)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_PostWakesHeadlessLoop(benchmark::State& state) {
  UseHeadlessWindowSystem();
  MeasureWake(state);
  ShutdownWindowSystem();
}
BENCHMARK(BM_PostWakesHeadlessLoop)->Iterations(200)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lw::ws
