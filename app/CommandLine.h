#pragma once

// `korvane` with arguments: help, version, and the repair without a window for
// people who look after many machines over a terminal. Without arguments the
// program opens its window and never comes here.

#include <iosfwd>
#include <string>
#include <vector>

namespace korvane {

// Exit statuses, as shells expect them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs the arguments (the program's name left out) and returns the exit status.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace korvane
