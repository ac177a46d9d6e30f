#pragma once

#include <optional>
#include <string>
#include <vector>

#include "MapSettings.h"

namespace cli {

// What a flag that names a file gave its field: the name as typed, and as
// stored (made absolute, or a descriptor's name as it is).
struct PathFlag {
  std::string typed;
  std::string stored;
};

// What one run builds and where the page goes. Every output may name a
// descriptor of the process ("-", /dev/stdout; see NamedDescriptor).
struct CliOptions {
  mapgen::MapSettings settings;
  std::string output;  // the page's file, or "-" for standard output
  bool quiet = false;  // neither progress line nor warnings
  // Where --write-settings writes the settings instead of building; empty
  // to build.
  std::string settingsOutput;
  // What --sitemap-xml and --robots-txt set last.
  std::optional<PathFlag> sitemapXmlFlag;
  std::optional<PathFlag> robotsTxtFlag;

  // What --sitemap-xml set, when no --set or settings file set
  // txtSitemapXml since; null otherwise.
  const PathFlag* SitemapXmlFlag() const {
    return Current(sitemapXmlFlag, settings.txtSitemapXml);
  }
  // The same of --robots-txt and txtRobotsTxt.
  const PathFlag* RobotsTxtFlag() const {
    return Current(robotsTxtFlag, settings.txtRobotsTxt);
  }

 private:
  static const PathFlag* Current(const std::optional<PathFlag>& flag,
                                 const std::string& field) {
    return flag && flag->stored == field ? &*flag : nullptr;
  }
};

struct ParsedCommandLine {
  enum class Outcome {
    kBuild,          // build with `options`
    kWriteSettings,  // write `options.settings` to `options.settingsOutput`
    kShowText,       // print `text` (usage or version) and stop
    kWrongUsage,     // `text` says what is wrong with the command line
    kCannotRead,     // `text` names a file the command line gave and the
                     // system's reason it cannot be read
  };
  Outcome outcome = Outcome::kBuild;
  CliOptions options;
  std::string text;
};

// Reads the arguments that follow the program's name. Every setting starts
// at its initial value; the flags are applied in the order given, so a
// later one wins.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace cli
