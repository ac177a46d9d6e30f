// Feeds tessary-cli's parser argument lists made of fuzzed bytes (split at
// NUL bytes): every list must end in a build, a text to show or an error
// message, never in a crash or an exception that escapes. Writing a settings
// file is the one outcome besides a build that needs no text.
#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  const cli::ParsedCommandLine parsed = cli::ParseCommandLine(args);
  using Outcome = cli::ParsedCommandLine::Outcome;
  switch (parsed.outcome) {
    case Outcome::kBuild:
      break;
    case Outcome::kWriteSettings:
      if (parsed.options.settingsOutput.empty()) __builtin_trap();
      break;
    default:
      if (parsed.text.empty()) __builtin_trap();
  }
  return 0;
}
