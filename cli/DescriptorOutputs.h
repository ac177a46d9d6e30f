#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "StandardDescriptors.h"

namespace cli {

// On the command line, "-", /dev/stdout, /dev/stderr and /dev/fd/N name
// the process's own descriptors, whatever those lead to, and are never
// looked up as paths. The descriptor `name` stands for: 1 for "-" and
// /dev/stdout, 2 for /dev/stderr, N for /dev/fd/N (-1 when N is too large
// to be one); nothing for a file's path.
std::optional<int> NamedDescriptor(std::string_view name);

// How messages call an output: "standard output" for "-", the name itself
// otherwise.
std::string ShownOutputName(std::string_view name);

// Why descriptor `fd` cannot take an output, in the system's words; empty
// when it can. One that was closed when the program started counts as
// closed, though /dev/null now stands in for it.
std::string WhyNotWritable(int fd, mapgen::ClosedAtStart closedAtStart);

}  // namespace cli
