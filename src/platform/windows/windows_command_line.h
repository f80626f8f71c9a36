#pragma once
// A Windows program gets one command line, which its C runtime splits into argv again.
#include <string>
#include <vector>

// The command line that a child's C runtime splits back into exactly `args`: an argument is quoted
// when it holds a space, a tab or a quote or is empty, and backslashes are doubled only where a
// quote follows them.
std::wstring windowsCommandLine(const std::vector<std::string>& args);
