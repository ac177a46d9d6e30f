// Feeds tessary-cli's parser argument lists made of fuzzed bytes (split at
// NUL bytes): every list must end in a build, a text to show or an error
// message, never in a crash or an exception that escapes.
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
  if (parsed.outcome != Outcome::kBuild && parsed.text.empty()) {
    __builtin_trap();
  }
  return 0;
}
