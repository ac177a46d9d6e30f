#include "RunCli.h"

#include <unistd.h>

#include <cstdio>

#include "BuildMap.h"
#include "CommandLine.h"
#include "ConsoleObserver.h"
#include "DescriptorOutputs.h"
#include "MapField.h"
#include "MapFileWriter.h"
#include "PosixFileSystem.h"
#include "Signals.h"
#include "TerminalText.h"

namespace cli {
namespace {

using Outcome = ParsedCommandLine::Outcome;

void PrintError(const std::string& message) {
  std::fprintf(stderr, "tessary-cli: %s\n", ShownOnTerminal(message).c_str());
}

int BuildAndWrite(const CliOptions& options) {
  HandleSignals();
  ConsoleObserver observer(options.quiet);
  const mapgen::PosixFileSystem fs;
  const std::string where = ShownOutputName(options.output);
  mapgen::DescriptorSink standardOutput(STDOUT_FILENO, where);
  const mapgen::BuildResult result =
      options.ToStandardOutput()
          ? mapgen::BuildMap(options.settings, fs, observer, standardOutput)
          : mapgen::BuildMapFile(options.settings, fs, observer,
                                 options.output);
  observer.Finish();
  using Outcome = mapgen::BuildResult::Outcome;
  if (result.outcome == Outcome::kNotWritten) {
    // The failure names the page, or the XML sitemap written after it.
    const std::string& path =
        result.failure.path.empty() ? where : result.failure.path;
    PrintError("cannot write " + path + ": " + result.failure.reason);
    return kExitFailed;
  }
  if (result.outcome != Outcome::kBuilt) {
    PrintError("cannot read " + result.failure.path + ": " +
               result.failure.reason);
    return kExitFailed;
  }
  observer.Summarize(result, where);
  return kExitWritten;
}

// Writes the settings file as a page is written: whole, or not at all.
int WriteSettings(const CliOptions& options) {
  HandleSignals();
  std::string text;
  mapgen::AppendSettingsText(text, options.settings);
  const std::string& path = options.settingsOutput;
  const std::optional<int> fd = NamedDescriptor(path);
  const auto written =
      fd ? mapgen::DescriptorSink(*fd, path).Write(text)
         : mapgen::WriteMapFile(mapgen::PosixFileSystem(), path, text);
  if (!written) {
    PrintError("cannot write " + ShownOutputName(path) + ": " +
               written.failure().reason);
    return kExitFailed;
  }
  return kExitWritten;
}

// Fails, naming it, an output that names a descriptor the process cannot
// write to: checked before anything is written, since a build would find
// out only at its end, and another file may have taken the number.
bool DescriptorsWritable(const CliOptions& options,
                         mapgen::ClosedAtStart closedAtStart) {
  for (const std::string& output : {options.output, options.settingsOutput}) {
    const std::optional<int> fd = NamedDescriptor(output);
    if (!fd) continue;
    const std::string reason = WhyNotWritable(*fd, closedAtStart);
    if (!reason.empty()) {
      PrintError("cannot write " + ShownOutputName(output) + ": " + reason);
      return false;
    }
  }
  return true;
}

}  // namespace

int RunCli(const std::vector<std::string>& args,
           mapgen::ClosedAtStart closedAtStart) {
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
    case Outcome::kWriteSettings:
    case Outcome::kBuild:
      break;
  }
  if (!DescriptorsWritable(parsed.options, closedAtStart)) return kExitFailed;
  return parsed.outcome == Outcome::kWriteSettings
             ? WriteSettings(parsed.options)
             : BuildAndWrite(parsed.options);
}

}  // namespace cli
