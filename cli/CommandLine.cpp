#include "CommandLine.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <map>
#include <optional>

#include "DescriptorOutputs.h"
#include "Flags.h"
#include "MapField.h"
#include "Paths.h"
#include "SettingsCheck.h"
#include "Version.h"

namespace cli {
namespace {

using Outcome = ParsedCommandLine::Outcome;

constexpr const char* kProgram = "tessary-cli";
constexpr const char* kAbout =
    "Builds one HTML site-map page of FOLDER and the folders below it.";
constexpr std::size_t kUsageColumn = 30;

ParsedCommandLine Stop(Outcome outcome, std::string text) {
  return {outcome, {}, std::move(text)};
}

// Whether `arg` is "--title=": a flag that takes a value, given an empty
// one. CLI11 would read it as "--title" alone and take the next argument as
// the value.
bool IsEmptyValue(const CLI::App& app, const std::string& arg) {
  if (!arg.starts_with("--") || !arg.ends_with('=')) return false;
  const CLI::Option* option =
      app.get_option_no_throw(arg.substr(0, arg.size() - 1));
  return option != nullptr && option->get_items_expected_min() > 0;
}

// The arguments as CLI11 wants them: last first, empty values on their own.
std::vector<std::string> ForCli11(const CLI::App& app,
                                  const std::vector<std::string>& args) {
  std::vector<std::string> prepared;
  for (const std::string& arg : args) {
    if (IsEmptyValue(app, arg)) {
      prepared.insert(prepared.end(), {arg.substr(0, arg.size() - 1), ""});
    } else {
      prepared.push_back(arg);
    }
  }
  std::reverse(prepared.begin(), prepared.end());
  return prepared;
}

using FlagsByOption = std::map<const CLI::Option*, const Flag*>;

FlagsByOption AddFlags(CLI::App& app) {
  // Every occurrence of a flag is kept, to be applied in turn.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.set_help_flag(kHelpFlag.names, kHelpFlag.description);
  app.set_version_flag(
      kVersionFlag.names,
      std::string(kProgram) + " " + std::string(mapgen::kVersion),
      kVersionFlag.description);
  FlagsByOption flags;
  for (const Flag& flag : Flags()) {
    CLI::Option* option =
        flag.valueName != nullptr
            ? app.add_option(flag.names)->type_name(flag.valueName)
            : app.add_flag(flag.names)->disable_flag_override();
    option->description(flag.description);
    flags[option] = &flag;
  }
  return flags;
}

// The settings a build cannot use, however they were set, as a wrong
// command line.
std::optional<ParsedCommandLine> WrongSettings(const CliOptions& options) {
  const auto usable = mapgen::CheckSettings(options.settings);
  if (usable) return std::nullopt;
  return Stop(Outcome::kWrongUsage,
              usable.failure().path + ": " + usable.failure().reason);
}

// A settings file says where files go only below the page's folder: a
// path that --sitemap-xml or --robots-txt gave is kept as typed when it
// says so too, and otherwise is a wrong command line, naming the flag.
std::optional<ParsedCommandLine> KeepFlagPath(const PathFlag* flag,
                                              std::string_view name,
                                              std::string_view fieldName,
                                              std::string& field) {
  if (flag == nullptr || flag->typed.empty()) return std::nullopt;
  if (NamedDescriptor(flag->typed) ||
      !mapgen::FindMapField(fieldName)->Refuses(flag->typed)) {
    return Stop(Outcome::kWrongUsage,
                std::string(name) +
                    ": a settings file keeps only a path below the page's "
                    "folder, not " +
                    flag->typed);
  }
  field = flag->typed;
  return std::nullopt;
}

std::optional<ParsedCommandLine> KeepFlagPaths(CliOptions& options) {
  if (auto wrong =
          KeepFlagPath(options.SitemapXmlFlag(), "--sitemap-xml",
                       "txtSitemapXml", options.settings.txtSitemapXml)) {
    return wrong;
  }
  return KeepFlagPath(options.RobotsTxtFlag(), "--robots-txt", "txtRobotsTxt",
                      options.settings.txtRobotsTxt);
}

// Applies the flags one occurrence at a time, in command-line order, so
// that a later flag overrides what an earlier one set. --write-settings
// ends the run with what the flags before it set.
ParsedCommandLine ApplyInOrder(const CLI::App& app, const FlagsByOption& flags,
                               const CLI::Option& folder) {
  ParsedCommandLine parsed;
  CliOptions& options = parsed.options;
  std::map<const CLI::Option*, std::size_t> occurrences;
  for (const CLI::Option* option : app.parse_order()) {
    const auto flag = flags.find(option);
    if (flag == flags.end()) continue;  // FOLDER
    const std::string& value = option->results().at(occurrences[option]++);
    try {
      flag->second->apply(options, value);
    } catch (const WrongValue& wrong) {
      return Stop(Outcome::kWrongUsage, option->get_name() + ": " + wrong.text);
    } catch (const WrongLine& wrong) {
      return Stop(Outcome::kWrongUsage, wrong.text);
    } catch (const UnreadableFile& unreadable) {
      return Stop(Outcome::kCannotRead, unreadable.text);
    }
    if (!options.settingsOutput.empty()) break;
  }
  if (auto wrong = WrongSettings(options)) return *std::move(wrong);
  if (!options.settingsOutput.empty()) {
    if (auto wrong = KeepFlagPaths(options)) return *std::move(wrong);
    parsed.outcome = Outcome::kWriteSettings;
    return parsed;
  }
  if (folder.empty()) return Stop(Outcome::kWrongUsage, "FOLDER is required");
  const std::string& base = folder.results().at(0);
  if (base.empty()) return Stop(Outcome::kWrongUsage, "FOLDER is empty");
  options.settings.txtDir = mapgen::WithoutTrailingSlashes(base);
  if (options.output.empty()) {
    options.output =
        mapgen::JoinPath(options.settings.txtDir, mapgen::kMapFileName);
  }
  return parsed;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CLI::App app(kAbout, kProgram);
  app.get_formatter()->column_width(kUsageColumn);
  app.footer(FlagNotes());
  const FlagsByOption flags = AddFlags(app);
  // --write-settings needs no FOLDER, so its absence is judged later.
  const CLI::Option* folder =
      app.add_option("FOLDER", "the base folder to map");
  try {
    app.parse(ForCli11(app, args));
  } catch (const CLI::CallForHelp&) {
    return Stop(Outcome::kShowText, app.help());
  } catch (const CLI::CallForVersion& version) {
    return Stop(Outcome::kShowText, std::string(version.what()) + "\n");
  } catch (const CLI::ParseError& error) {
    return Stop(Outcome::kWrongUsage, error.what());
  }
  return ApplyInOrder(app, flags, *folder);
}

}  // namespace cli
