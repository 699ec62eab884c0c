#include "app/pause.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/wait.h"

namespace lw {
namespace {

using namespace std::chrono_literals;

TEST(Pause, Units) {
  EXPECT_EQ(PauseUnitMilliseconds(0), 1);
  EXPECT_EQ(PauseUnitMilliseconds(1), 1000);
  EXPECT_EQ(PauseUnitMilliseconds(2), 60'000);
  EXPECT_EQ(PauseUnitMilliseconds(3), 3'600'000);
  EXPECT_EQ(PauseUnitMilliseconds(7), 7);
}

TEST(Pause, WaitsTheWholeTime) {
  auto start = Clock::now();
  EXPECT_TRUE(PauseWithEvents(40, 0));
  EXPECT_GE(Clock::now() - start, 40ms);
  start = Clock::now();
  EXPECT_TRUE(PauseWithEvents(4, 5));  // 4 units of 5 ms
  EXPECT_GE(Clock::now() - start, 20ms);
}

TEST(Pause, AStopEndsItAtOnce) {
  std::stop_source stop;
  std::thread stopper([&] {
    std::this_thread::sleep_for(20ms);
    stop.request_stop();
  });
  auto start = Clock::now();
  EXPECT_FALSE(PauseWithEvents(1, 3, stop.get_token()));  // an hour
  EXPECT_LT(Clock::now() - start, 5s);
  stopper.join();
}

}  // namespace
}  // namespace lw
