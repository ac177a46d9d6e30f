#pragma once

#include <string>
#include <vector>

#include "StandardDescriptors.h"

namespace cli {

// Exit statuses of tessary-cli, which scripts rely on.
inline constexpr int kExitWritten = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitWrongUsage = 2;

// Runs tessary-cli with the arguments that follow the program's name and
// returns its exit status. An output may not name a standard descriptor
// that was closed at start.
int RunCli(const std::vector<std::string>& args,
           mapgen::ClosedAtStart closedAtStart = {});

}  // namespace cli
