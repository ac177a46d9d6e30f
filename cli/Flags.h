#pragma once

#include <span>
#include <string>
#include <vector>

#include "CommandLine.h"

namespace cli {

// Why a flag could not be applied, in words that may quote any byte of a
// value (a NUL included, which what() of a standard exception would cut
// the text short at).
struct FlagError {
  std::string text;
};

// A flag's value that is not one it takes; the text says what is wrong.
struct WrongValue : FlagError {};

// A line of a file named by a flag that is wrong; the text starts with
// "FILE:LINE: " and says why.
struct WrongLine : FlagError {};

// A file named by a flag that cannot be read; the text names it and the
// system's reason.
struct UnreadableFile : FlagError {};

// One flag of the command line and what it does to the options.
struct Flag {
  const char* names;        // as CLI11 takes them: "-o,--output"
  const char* valueName;    // how the usage shows its value; null for none
  const char* description;  // one line for the usage
  // Applies one occurrence; throws WrongValue, WrongLine or
  // UnreadableFile.
  void (*apply)(CliOptions& options, const std::string& value);
  // The values that shell completion offers, for a flag whose value is one
  // of a known set; null for any other. A value ending in "=" is the first
  // half of an assignment.
  std::vector<std::string> (*choices)() = nullptr;
};

// Every flag, in the order the usage lists them.
std::span<const Flag> Flags();

// The two flags that stop before any other is applied.
inline constexpr Flag kHelpFlag = {"-h,--help", nullptr,
                                   "show this usage and exit", nullptr};
inline constexpr Flag kVersionFlag = {"--version", nullptr,
                                      "show the version and exit", nullptr};

// The usage's closing notes: the order rule, the colour kinds, the fields
// --set knows and the exit statuses.
std::string FlagNotes();

}  // namespace cli
