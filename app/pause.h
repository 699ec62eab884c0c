// The pause the harvest makes after every request.
#pragma once

#include <stop_token>

namespace lw {

// Milliseconds in one unit: 0 milliseconds, 1 seconds, 2 minutes, 3 hours; any other value
// is itself the number of milliseconds per unit.
long long PauseUnitMilliseconds(int unit);

// Waits `count` units. Returns false, at once, when `stop` is requested during the wait.
bool PauseWithEvents(int count, int unit, std::stop_token stop = {});

}  // namespace lw
