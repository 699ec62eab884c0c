#include "base/wait.h"

#include <condition_variable>
#include <mutex>

namespace lw {

bool WaitUntil(Clock::time_point deadline, std::stop_token stop) {
  std::mutex mutex;
  std::condition_variable_any cv;
  std::unique_lock<std::mutex> lock(mutex);
  // The predicate is only the stop; the deadline ends the wait otherwise.
  cv.wait_until(lock, stop, deadline, [] { return false; });
  return !stop.stop_requested();
}

}  // namespace lw
