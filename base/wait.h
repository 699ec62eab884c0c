// Waiting on a thread that may have to stop at once.
#pragma once

#include <chrono>
#include <stop_token>

namespace lw {

using Clock = std::chrono::steady_clock;

// Waits until `deadline` passes or `stop` is requested. False when it ended by the stop.
bool WaitUntil(Clock::time_point deadline, std::stop_token stop);

}  // namespace lw
