#include "Flags.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "DescriptorOutputs.h"
#include "MapField.h"
#include "Paths.h"
#include "ReadWholeFile.h"
#include "SettingsCheck.h"
#include "TextLines.h"

namespace cli {
namespace {

using mapgen::CheckState;
using mapgen::kChecked;
using mapgen::kUnchecked;
using mapgen::MapSettings;

// The text kinds that --color names, by the index of their colour.
constexpr std::array<std::string_view, 6> kColourKinds = {
    "background", "text", "link", "vlink", "title", "folder"};

constexpr std::size_t kNotesWidth = 78;

// Sets the text field that `member` is through the field's own check, so
// that a flag is held to the rule --set and settings files are: a value it
// refuses is a wrong value of the flag.
void SetTextField(CliOptions& options, const std::string& member,
                  std::string_view value) {
  for (const mapgen::MapField& field : mapgen::MapFields()) {
    if (field.Kind() != mapgen::FieldKind::kText ||
        &field.In<std::string>(options.settings) != &member) {
      continue;
    }
    if (auto set = field.Set(options.settings, value); !set) {
      throw WrongValue{{set.failure().reason}};
    }
    return;
  }
}

template <auto Member>
void SetText(CliOptions& options, const std::string& value) {
  SetTextField(options, options.settings.*Member, value);
}

template <auto Member, CheckState State>
void SetCheck(CliOptions& options, const std::string&) {
  options.settings.*Member = State;
}

template <std::size_t Index, CheckState State>
void SetExtension(CliOptions& options, const std::string&) {
  options.settings.chkExtension[Index] = State;
}

template <std::size_t Index>
void SetSize(CliOptions& options, const std::string& value) {
  SetTextField(options, options.settings.cmbSize[Index], value);
}

// A text box's text, given on the command line or read from a file.
template <auto Member>
void SetBoxText(CliOptions& options, const std::string& value) {
  SetTextField(options, options.settings.*Member,
               mapgen::WithCrLfBreaks(value));
}

// More than a text box would ever hold: a file this large is a mistake
// (/dev/zero, a log), not a preface.
constexpr std::size_t kLargestTextFile = 16 << 20;

std::string ReadTextFile(const std::string& path) {
  auto text = mapgen::ReadWholeFile(path, kLargestTextFile + 1);
  if (!text) {
    throw UnreadableFile{
        {"cannot read " + path + ": " + text.failure().reason}};
  }
  if (text->size() > kLargestTextFile) {
    throw WrongValue{{path + " holds more than 16 MiB"}};
  }
  return std::move(*text);
}

template <auto Member>
void ReadBoxText(CliOptions& options, const std::string& path) {
  SetBoxText<Member>(options, ReadTextFile(path));
}

// A path given on the command line means the same wherever the build later
// resolves it, so it is made absolute against the current folder.
std::string AbsolutePath(const std::string& path) {
  auto absolute = mapgen::AbsolutePath(path);
  if (!absolute) throw UnreadableFile{{absolute.failure().reason}};
  return std::move(*absolute);
}

void SetOutput(CliOptions& options, const std::string& path) {
  if (path.empty()) throw WrongValue{{"the output path is empty"}};
  options.output = path;
}

void SetQuiet(CliOptions& options, const std::string&) { options.quiet = true; }

void SetOther(CliOptions& options, const std::string& list) {
  SetText<&MapSettings::txtExtensions>(options, list);
  options.settings.chkExtension[5] = kChecked;
}

void SetStyle(CliOptions& options, const std::string& number) {
  if (number.size() != 1 || number[0] < '1' || number[0] > '4') {
    throw WrongValue{{number + " is not a style from 1 to 4"}};
  }
  mapgen::SelectStyle(options.settings,
                      static_cast<std::size_t>(number[0] - '1'));
}

void SetBanner(CliOptions& options, const std::string& reference) {
  SetText<&MapSettings::txtBannerImage>(options, reference);
  options.settings.chkBannerImage = kChecked;
}

void SetBackgroundImage(CliOptions& options, const std::string& reference) {
  SetText<&MapSettings::txtImage>(options, reference);
  options.settings.chkBgImage = kChecked;
}

// Adds a glob as one more line of the list, which may have come from a
// settings file.
void AddExclude(CliOptions& options, const std::string& glob) {
  if (glob.empty()) throw WrongValue{{"the glob is empty"}};
  std::string globs = options.settings.txtExclude;
  if (!globs.empty() && !globs.ends_with('\n')) globs += '\n';
  SetText<&MapSettings::txtExclude>(options, globs + glob);
}

// A file the build writes besides the page, which the flag may put
// anywhere: kept absolute, as typed for a descriptor.
template <auto Member, auto Flag>
void SetOutputPath(CliOptions& options, const std::string& path) {
  const bool asTyped = path.empty() || NamedDescriptor(path);
  options.settings.*Member = asTyped ? path : AbsolutePath(path);
  options.*Flag = PathFlag{path, options.settings.*Member};
}

void ReadSettingsFile(CliOptions& options, const std::string& path) {
  const auto records = mapgen::ParseSettingsText(
      path, ReadTextFile(path), mapgen::SettingsInto(options.settings));
  if (!records) {
    throw WrongLine{{records.failure().path + ": " + records.failure().reason}};
  }
}

void WriteSettingsFile(CliOptions& options, const std::string& path) {
  if (path.empty()) throw WrongValue{{"the settings file path is empty"}};
  options.settingsOutput = path;
}

std::string ColourKindList() {
  std::string list;
  for (const std::string_view kind : kColourKinds) {
    list += (list.empty() ? "" : ", ") + std::string(kind);
  }
  return list;
}

void SetColour(CliOptions& options, const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    throw WrongValue{{"expected KIND=RRGGBB, not " + assignment}};
  }
  const std::string kind = assignment.substr(0, equals);
  const std::string rrggbb = assignment.substr(equals + 1);
  const auto found = std::find(kColourKinds.begin(), kColourKinds.end(), kind);
  if (found == kColourKinds.end()) {
    throw WrongValue{{kind + " is not one of " + ColourKindList()}};
  }
  mapgen::Colour colour = 0;
  if (!mapgen::ParseHtmlColour(rrggbb, colour)) {
    throw WrongValue{{rrggbb + " is not a colour RRGGBB"}};
  }
  const auto index = static_cast<std::size_t>(found - kColourKinds.begin());
  options.settings.chkColor[index] = kChecked;
  options.settings.shpColor[index] = colour;
}

void SetAnyField(CliOptions& options, const std::string& assignment) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string::npos) {
    throw WrongValue{{"expected FIELD=VALUE, not " + assignment}};
  }
  const auto set = mapgen::SetMapField(
      options.settings, std::string_view(assignment).substr(0, equals),
      std::string_view(assignment).substr(equals + 1));
  if (!set) throw WrongValue{{set.failure().reason}};
}

std::vector<std::string> StyleNumbers() { return {"1", "2", "3", "4"}; }

std::vector<std::string> BannerAlignments() {
  return {"left", "center", "right"};
}

std::vector<std::string> TitleAlignments() {
  return {"Left", "Center", "Right"};
}

std::vector<std::string> Sizes() {
  return {"normal", "+1", "+2", "+3", "+4", "+5"};
}

std::vector<std::string> LastmodSources() { return {"file", "git"}; }

std::vector<std::string> TemplateNames() {
  return {mapgen::kTemplateNames.begin(), mapgen::kTemplateNames.end()};
}

std::vector<std::string> ColourKindAssignments() {
  std::vector<std::string> kinds;
  for (const std::string_view kind : kColourKinds) {
    kinds.push_back(std::string(kind) + "=");
  }
  return kinds;
}

std::vector<std::string> FieldNames() {
  std::vector<std::string> names;
  for (const mapgen::MapField& field : mapgen::MapFields()) {
    names.push_back(field.Name());
  }
  return names;
}

std::vector<std::string> FieldAssignments() {
  std::vector<std::string> fields = FieldNames();
  for (std::string& field : fields) field += "=";
  return fields;
}

constexpr Flag kFlags[] = {
    {"-o,--output", "FILE", "write the page to FILE; - writes to stdout",
     SetOutput},
    {"-q,--quiet", nullptr, "no progress line and no warnings", SetQuiet},
    {"--title", "TEXT", "map page title", SetText<&MapSettings::txtTitle>},
    {"--no-subfolders", nullptr, "map the base folder alone",
     SetCheck<&MapSettings::chkShowSubfolders, kUnchecked>},
    {"--no-empty-folders", nullptr, "leave out folders with no listed file",
     SetCheck<&MapSettings::chkShowEmpties, kUnchecked>},
    {"--html", nullptr, "list .html and .htm files", SetExtension<0, kChecked>},
    {"--no-html", nullptr, "do not list .html and .htm files",
     SetExtension<0, kUnchecked>},
    {"--asp", nullptr, "list .asp files", SetExtension<1, kChecked>},
    {"--no-asp", nullptr, "do not list .asp files",
     SetExtension<1, kUnchecked>},
    {"--txt", nullptr, "list .txt files", SetExtension<2, kChecked>},
    {"--no-txt", nullptr, "do not list .txt files",
     SetExtension<2, kUnchecked>},
    {"--pdf", nullptr, "list .pdf files", SetExtension<3, kChecked>},
    {"--no-pdf", nullptr, "do not list .pdf files",
     SetExtension<3, kUnchecked>},
    {"--jpg", nullptr, "list .jpg files", SetExtension<4, kChecked>},
    {"--no-jpg", nullptr, "do not list .jpg files",
     SetExtension<4, kUnchecked>},
    {"--other", "LIST", "also list these extensions (commas or spaces)",
     SetOther},
    {"--any-htm", nullptr, "any extension containing htm is a web page",
     SetCheck<&MapSettings::chkHTMext, kChecked>},
    {"--style", "N", "entry style 1 to 4 (title, both, name, name)", SetStyle,
     StyleNumbers},
    {"--banner", "REF", "banner image at the top of the page", SetBanner},
    {"--banner-align", "TEXT", "banner alignment: left, center, right",
     SetText<&MapSettings::cmbBannerAlign>, BannerAlignments},
    {"--preface", "TEXT", "text after the title",
     SetBoxText<&MapSettings::txtPreface>},
    {"--preface-file", "FILE", "text after the title, read from FILE",
     ReadBoxText<&MapSettings::txtPreface>},
    {"--appendix", "TEXT", "text after the last folder",
     SetBoxText<&MapSettings::txtAppendix>},
    {"--appendix-file", "FILE", "text after the last folder, read from FILE",
     ReadBoxText<&MapSettings::txtAppendix>},
    {"--bullets", nullptr, "bulleted lists of files",
     SetCheck<&MapSettings::chkBullets, kChecked>},
    {"--no-indent", nullptr, "do not indent subfolders",
     SetCheck<&MapSettings::chkIndent, kUnchecked>},
    {"--lines", nullptr, "separator lines between subfolders",
     SetCheck<&MapSettings::chkLines, kChecked>},
    {"--font", "FACE", "font face of the page (default sets none)",
     SetText<&MapSettings::cmbFont>},
    {"--title-align", "TEXT", "map title alignment: Left, Center, Right",
     SetText<&MapSettings::cmbTitleAlign>, TitleAlignments},
    {"--text-size", "TEXT", "page text size: normal, +1 to +5", SetSize<0>,
     Sizes},
    {"--title-size", "TEXT", "map title size", SetSize<1>, Sizes},
    {"--folder-size", "TEXT", "subfolder title size", SetSize<2>, Sizes},
    {"--color", "KIND=RRGGBB", "colour of KIND, red first as in HTML",
     SetColour, ColourKindAssignments},
    {"--background-image", "REF", "background image of the page",
     SetBackgroundImage},
    {"--safe-links", nullptr, "quote and encode links; names, titles as text",
     SetCheck<&MapSettings::chkSafeLinks, kChecked>},
    {"--exclude", "GLOB", "leave out names matching GLOB (repeatable)",
     AddExclude},
    {"--last-extension", nullptr, "extensions follow the last dot of a name",
     SetCheck<&MapSettings::chkLastExtension, kChecked>},
    {"--utf8", nullptr, "declare UTF-8, convert titles to it",
     SetCheck<&MapSettings::chkUtf8, kChecked>},
    {"--link-prefix", "TEXT", "put TEXT before every link to a file",
     SetText<&MapSettings::txtLinkPrefix>},
    {"--template", "NAME", "page template: classic (default) or modern",
     SetText<&MapSettings::cmbTemplate>, TemplateNames},
    {"--lang", "TAG", "language of the modern page's text (default en)",
     SetText<&MapSettings::txtLang>},
    {"--collapsed", nullptr, "the modern page opens with only FOLDER open",
     SetCheck<&MapSettings::chkCollapsed, kChecked>},
    {"--follow-outside-links", nullptr,
     "read the files of links that lead outside FOLDER",
     SetCheck<&MapSettings::chkFollowOutside, kChecked>},
    {"--sitemap-xml", "FILE", "also write an XML sitemap to FILE",
     SetOutputPath<&MapSettings::txtSitemapXml, &CliOptions::sitemapXmlFlag>},
    {"--site-url", "URL", "the address the XML sitemap's URLs start with",
     SetText<&MapSettings::txtSiteUrl>},
    {"--lastmod", "SOURCE", "sitemap dates: file times (default) or git",
     SetText<&MapSettings::cmbLastmod>, LastmodSources},
    {"--robots-txt", "FILE", "add the sitemap's line to the robots.txt FILE",
     SetOutputPath<&MapSettings::txtRobotsTxt, &CliOptions::robotsTxtFlag>},
    {"--set", "FIELD=VALUE", "any setting FIELD to VALUE exactly as given",
     SetAnyField, FieldAssignments},
    {"--settings", "FILE", "apply the FIELD=VALUE lines of FILE",
     ReadSettingsFile},
    {"--write-settings", "FILE", "write the settings so far to FILE and stop",
     WriteSettingsFile},
};

// The words joined by ", ", broken into lines indented by two blanks.
std::string WrappedList(const std::vector<std::string>& words) {
  std::string text;
  std::string line = " ";
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string word = " " + words[i] + (i + 1 < words.size() ? "," : "");
    if (line.size() + word.size() > kNotesWidth) {
      text += line + "\n";
      line = " ";
    }
    line += word;
  }
  return text + line + "\n";
}

}  // namespace

std::span<const Flag> Flags() { return kFlags; }

std::string FlagNotes() {
  std::string notes = "The page goes to FOLDER/" +
                      std::string(mapgen::kMapFileName) +
                      " unless -o says otherwise.\n"
                      "Flags are applied in the order given; a later one "
                      "wins.\n";
  notes += "KIND is one of " + ColourKindList() + ".\n";
  notes += "FIELD is one of:\n" + WrappedList(FieldNames());
  notes +=
      "A check box takes 0, 1 or 2 (chkSafeLinks and the publishing\n"
      "options 0 or 1), optStyle(i) takes 1, shpColor(i) a number laid out\n"
      "0x00BBGGRR; texts are stored unchanged. cmbTemplate is classic,\n"
      "modern or empty, cmbLastmod file, git or empty, and a txtSitemapXml\n"
      "needs a txtSiteUrl.\n"
      "A settings file holds one FIELD=VALUE a line, # starting a comment\n"
      "line; in VALUE, \\n \\r \\t \\\\ stand for LF, CR, tab and backslash.\n"
      "With --write-settings, FOLDER may be left out.\n"
      "Exit status: 0 page written, 1 build failed, 2 wrong command line.\n"
      "Tessary is free software under the MIT License.";
  return notes;
}

}  // namespace cli
