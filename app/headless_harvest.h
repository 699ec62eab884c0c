// The harvest run from the command line, without a window.
#pragma once

#include "app/command_line.h"
#include "app/settings.h"

namespace lw {

inline constexpr int kExitFinished = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitStopped = 130;

// Harvests the seeds of `command` with `settings` (the command's options already applied).
// SIGINT and SIGTERM act as the stop button; they must be blocked in every thread of the
// process before it is called. Answers the exit status: 0 after the harvest finished, 130
// after a stop, 2 when the seeds file cannot be read or holds nothing.
int RunHeadlessHarvest(const CommandLine& command, const AppSettings& settings);

}  // namespace lw
