#include "app/pause.h"

#include "base/wait.h"

namespace lw {

long long PauseUnitMilliseconds(int unit) {
  switch (unit) {
    case 0:
      return 1;
    case 1:
      return 1000;
    case 2:
      return 60'000;
    case 3:
      return 3'600'000;
    default:
      return unit;
  }
}

bool PauseWithEvents(int count, int unit, std::stop_token stop) {
  long long ms = static_cast<long long>(count) * PauseUnitMilliseconds(unit);
  if (ms < 0) ms = 0;
  return WaitUntil(Clock::now() + std::chrono::milliseconds(ms), stop);
}

}  // namespace lw
