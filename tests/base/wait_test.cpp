#include "base/wait.h"

#include <gtest/gtest.h>

#include <thread>

namespace lw {
namespace {

TEST(Wait, EndsAtTheDeadline) {
  auto start = Clock::now();
  EXPECT_TRUE(WaitUntil(start + std::chrono::milliseconds(30), {}));
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));
}

TEST(Wait, AStopEndsTheWaitAtOnce) {
  std::stop_source stop;
  auto start = Clock::now();
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop.request_stop();
  });
  EXPECT_FALSE(WaitUntil(start + std::chrono::seconds(60), stop.get_token()));
  stopper.join();
  // Far below the minute it would otherwise wait.
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace lw
