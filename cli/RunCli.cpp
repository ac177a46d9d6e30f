#include "RunCli.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "BuildMap.h"
#include "CommandLine.h"
#include "ConsoleObserver.h"
#include "MapFile.h"
#include "PosixFileSystem.h"

namespace cli {
namespace {

using Outcome = ParsedCommandLine::Outcome;

void PrintError(const std::string& message) {
  std::fprintf(stderr, "tessary-cli: %s\n", message.c_str());
}

// Standard output may be a pipe or a terminal, so the page goes straight to
// it, bytes unchanged, rather than through a file that replaces another.
bool WriteToStandardOutput(std::string_view text, std::string& reason) {
  while (!text.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) {
      reason = std::strerror(errno);
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

int BuildAndWrite(const CliOptions& options) {
  ConsoleObserver observer(options.quiet);
  const mapgen::BuildResult result =
      mapgen::BuildMap(options.settings, mapgen::PosixFileSystem(), observer);
  observer.Finish();
  if (result.outcome != mapgen::BuildResult::Outcome::kBuilt) {
    PrintError("cannot read " + result.failure.path + ": " +
               result.failure.reason);
    return kExitFailed;
  }
  std::string reason;
  const bool written =
      options.ToStandardOutput()
          ? WriteToStandardOutput(result.mapText, reason)
          : mapgen::WriteMapFile(options.output, result.mapText, reason);
  if (!written) {
    const std::string where =
        options.ToStandardOutput() ? "standard output" : options.output;
    PrintError("cannot write " + where + ": " + reason);
    return kExitFailed;
  }
  return kExitWritten;
}

}  // namespace

int RunCli(const std::vector<std::string>& args) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  switch (parsed.outcome) {
    case Outcome::kShowText:
      std::fputs(parsed.text.c_str(), stdout);
      return kExitWritten;
    case Outcome::kWrongUsage:
      PrintError(parsed.text);
      std::fputs("Try 'tessary-cli --help' for more information.\n", stderr);
      return kExitWrongUsage;
    case Outcome::kCannotRead:
      PrintError(parsed.text);
      return kExitFailed;
    case Outcome::kBuild:
      break;
  }
  return BuildAndWrite(parsed.options);
}

}  // namespace cli
