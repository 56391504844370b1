#pragma once

// How Shell turns a command line into the program it starts, apart from
// starting it, so the parsing can be checked without launching anything.

#include <string>
#include <vector>

namespace korvane::forms {

// Words split at spaces and tabs; double quotes group words and are removed.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// The arguments the real launcher runs: "explorer <address>" (the word in any case)
// becomes xdg-open with the address; anything else runs as it is, found on PATH.
// Empty when there is nothing to run.
std::vector<std::string> ShellArguments(const std::string& commandLine);

} // namespace korvane::forms
