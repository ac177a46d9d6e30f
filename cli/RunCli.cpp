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

int WrongUsage(const std::string& message) {
  PrintError(message);
  std::fputs("Try 'tessary-cli --help' for more information.\n", stderr);
  return kExitWrongUsage;
}

// An output as the core takes it: a descriptor the name stands for, or a
// path.
mapgen::OutputTarget Target(const std::string& name) {
  if (const auto fd = NamedDescriptor(name)) {
    return {ShownOutputName(name), *fd};
  }
  return name;
}

int BuildAndWrite(const CliOptions& options) {
  HandleSignals();
  ConsoleObserver observer(options.quiet);
  const mapgen::PosixFileSystem fs;
  const mapgen::OutputTarget page = Target(options.output);
  mapgen::PagePlacement placement;
  if (const PathFlag* sitemap = options.SitemapXmlFlag();
      sitemap != nullptr && NamedDescriptor(sitemap->typed)) {
    placement.sitemap = Target(sitemap->typed);
  }
  if (const PathFlag* robots = options.RobotsTxtFlag();
      robots != nullptr && NamedDescriptor(robots->typed)) {
    placement.robots = Target(robots->typed);
  }
  const mapgen::BuildResult result =
      mapgen::BuildMapFile(options.settings, fs, observer, page, placement);
  observer.Finish();
  const mapgen::Failure& failure = result.failure;
  using Ending = mapgen::BuildResult::Outcome;
  switch (result.outcome) {
    case Ending::kBuilt:
      observer.Summarize(result, page.path);
      return kExitWritten;
    case Ending::kSameOutput:
      return WrongUsage(failure.reason + ": " + failure.path);
    case Ending::kNotWritten:
      PrintError("cannot write " + failure.path + ": " + failure.reason);
      return kExitFailed;
    case Ending::kFailed:
    case Ending::kStopped:
      break;
  }
  PrintError("cannot read " + failure.path + ": " + failure.reason);
  return kExitFailed;
}

// Writes the settings file as a page is written: whole, or not at all.
int WriteSettings(const CliOptions& options) {
  HandleSignals();
  std::string text;
  mapgen::AppendSettingsText(text, options.settings);
  const mapgen::OutputTarget target = Target(options.settingsOutput);
  const auto written =
      mapgen::WriteMapFile(mapgen::PosixFileSystem(), target, text);
  if (!written) {
    PrintError("cannot write " + written.failure().path + ": " +
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
  std::vector<std::string> outputs = {options.output, options.settingsOutput};
  for (const PathFlag* flag :
       {options.SitemapXmlFlag(), options.RobotsTxtFlag()}) {
    if (flag != nullptr) outputs.push_back(flag->typed);
  }
  for (const std::string& output : outputs) {
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
      return WrongUsage(parsed.text);
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
