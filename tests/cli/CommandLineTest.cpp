#include "CommandLine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "PrintSettings.h"
#include "TempFolder.h"

namespace cli {
namespace {

using mapgen::MapSettings;
using Outcome = ParsedCommandLine::Outcome;

struct FlagCase {
  std::vector<std::string> args;             // the folder "/w" follows
  std::function<void(MapSettings&)> change;  // from the initial settings
};

TEST(ParseCommandLine, AppliesEachFlagInTheOrderGiven) {
  const FlagCase cases[] = {
      {{}, [](MapSettings&) {}},
      {{"--title", "Docs", "--title", "-x"}, [](auto& s) { s.txtTitle = "-x"; }},
      {{"--title=", "--bullets"},
       [](auto& s) {
         s.txtTitle = "";
         s.chkBullets = 1;
       }},
      {{"--no-subfolders", "--no-empty-folders", "--any-htm"},
       [](auto& s) {
         s.chkShowSubfolders = s.chkShowEmpties = 0;
         s.chkHTMext = 1;
       }},
      {{"--no-html", "--no-txt", "--no-pdf", "--asp", "--jpg"},
       [](auto& s) { s.chkExtension = {0, 1, 0, 0, 1, 0}; }},
      {{"--no-html", "--no-txt", "--no-pdf", "--html", "--txt", "--pdf", "--asp", "--no-asp",
        "--jpg", "--no-jpg"},
       [](MapSettings&) {}},
      {{"--other", "zip, gz"},
       [](auto& s) {
         s.chkExtension[5] = 1;
         s.txtExtensions = "zip, gz";
       }},
      {{"--style", "4"},
       [](auto& s) {
         s.optStyle = {false, false, false, true};
       }},
      {{"--style", "2", "--set", "optStyle(0)=1"}, [](MapSettings&) {}},
      {{"--banner", "top.png", "--banner-align", "left"},
       [](auto& s) {
         s.chkBannerImage = 1;
         s.txtBannerImage = "top.png";
         s.cmbBannerAlign = "left";
       }},
      {{"--bullets", "--no-indent", "--lines"},
       [](auto& s) {
         s.chkBullets = 1;
         s.chkIndent = 0;
         s.chkLines = 1;
       }},
      {{"--font", "Arial", "--title-align", "Right"},
       [](auto& s) {
         s.cmbFont = "Arial";
         s.cmbTitleAlign = "Right";
       }},
      {{"--text-size", "+1", "--title-size", "-1", "--folder-size", "normal "},
       [](auto& s) {
         s.cmbSize = {"+1", "-1", "normal "};
       }},
      {{"--color", "background=FF8000", "--color", "folder=0a0B0c"},
       [](auto& s) {
         s.chkColor[0] = s.chkColor[5] = 1;
         s.shpColor[0] = 0x0080FF;
         s.shpColor[5] = 0x0C0B0A;
       }},
      {{"--color", "text=FFFFFF", "--set", "chkColor(1)=0"},
       [](auto& s) { s.shpColor[1] = 0xFFFFFF; }},
      {{"--background-image", "bg.gif"},
       [](auto& s) {
         s.chkBgImage = 1;
         s.txtImage = "bg.gif";
       }},
      {{"--safe-links"}, [](auto& s) { s.chkSafeLinks = 1; }},
      {{"--safe-links", "--set", "chkSafeLinks=0"}, [](auto& s) { s.chkSafeLinks = 0; }},
      {{"--preface", "a\nb\r\nc\r", "--appendix", "\n\n"},
       [](auto& s) {
         s.txtPreface = "a\r\nb\r\nc\r";
         s.txtAppendix = "\r\n\r\n";
       }},
      {{"--set", "txtAppendix=x\ny", "--set", "txtTitle=a=b", "--set", "cmbFont="},
       [](auto& s) {
         s.txtAppendix = "x\ny";
         s.txtTitle = "a=b";
         s.cmbFont = "";
       }},
      {{"--set", "chkShowSubfolders=2", "--set", "chkExtension(5)=1", "--set", "optStyle(2)=1"},
       [](auto& s) {
         s.chkShowSubfolders = 2;
         s.chkExtension[5] = 1;
         s.optStyle = {false, false, true, false};
       }},
      {{"--set", "shpColor(0)=255", "--set", "shpColor(3)=0xFFFFFF", "--set",
        "shpColor(4)=0X00c0ff"},
       [](auto& s) {
         s.shpColor[0] = 0xFF;
         s.shpColor[3] = 0xFFFFFF;
         s.shpColor[4] = 0x00C0FF;
       }},
      {{"--exclude", "b", "--set", "txtExclude=a\r\n", "--exclude", "c", "--last-extension",
        "--utf8", "--link-prefix", "../", "--template", "classic", "--template=modern"},
       [](auto& s) {
         s.txtExclude = "a\r\nc";
         s.chkLastExtension = s.chkUtf8 = 1;
         s.txtLinkPrefix = "../";
         s.cmbTemplate = "modern";
       }},
      {{"--lang", "sr-Latn-RS", "--collapsed", "--set", "txtLang=", "--lang",
        "abcdefgh-abcdefgh-abcdefgh-abcdefgh"},
       [](auto& s) {
         s.txtLang = "abcdefgh-abcdefgh-abcdefgh-abcdefgh";
         s.chkCollapsed = 1;
       }},
      {{"--sitemap-xml", "pub/s.xml", "--site-url", "https://u.org"},
       [](auto& s) {
         s.txtSitemapXml = (std::filesystem::current_path() / "pub/s.xml").string();
         s.txtSiteUrl = "https://u.org";
       }},
  };
  for (const FlagCase& c : cases) {
    std::vector<std::string> args = c.args;
    args.push_back("/w");
    SCOPED_TRACE(testing::PrintToString(args));
    MapSettings expected;
    expected.txtDir = "/w";
    c.change(expected);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    ASSERT_EQ(parsed.outcome, Outcome::kBuild) << parsed.text;
    EXPECT_EQ(parsed.options.settings, expected);
  }
}

TEST(ParseCommandLine, TakesFolderAndOutput) {
  const struct {
    std::vector<std::string> args;
    std::string folder, output;
    bool quiet;
  } cases[] = {
      {{"/srv/www/", "-q"}, "/srv/www", "/srv/www/sitemap.html", true},
      {{"/"}, "/", "/sitemap.html", false},
      {{"site//", "--quiet"}, "site", "site/sitemap.html", true},
      {{"-o", "-", "."}, ".", "-", false},
      {{"--output", "m.html", "--", "-w"}, "-w", "m.html", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    const ParsedCommandLine parsed = ParseCommandLine(c.args);
    EXPECT_EQ(parsed.options.settings.txtDir, c.folder);
    EXPECT_EQ(parsed.options.output, c.output);
    EXPECT_EQ(parsed.options.quiet, c.quiet);
  }
}

TEST(ParseCommandLine, ReadsTextFilesWithCrLfBreaks) {
  const mapgen::testing_support::TempFolder temp;
  const std::string path = temp.Write("preface.txt", "one\ntwo\r\n\xC3\xA9");
  const ParsedCommandLine parsed = ParseCommandLine(
      {"--preface-file", path, "--appendix-file", path, "--set", "txtAppendix=z", "/w"});
  EXPECT_EQ(parsed.options.settings.txtPreface, "one\r\ntwo\r\n\xC3\xA9");
  EXPECT_EQ(parsed.options.settings.txtAppendix, "z");

  const ParsedCommandLine missing = ParseCommandLine({"--appendix-file", "/no/such", "/w"});
  EXPECT_EQ(missing.outcome, Outcome::kCannotRead);
  EXPECT_EQ(missing.text, "cannot read /no/such: No such file or directory");
}

TEST(ParseCommandLine, AppliesSettingsFilesInFlagOrder) {
  const mapgen::testing_support::TempFolder temp;
  const std::string file =
      temp.Write("a.tessary", "# site\ntxtTitle=F\\tG\ntxtExclude=a\nchkUtf8=1\n");
  const ParsedCommandLine parsed = ParseCommandLine(
      {"--title", "T", "--utf8", "--settings", file, "--exclude", "b", "--set", "chkUtf8=0", "/w"});
  EXPECT_EQ(parsed.options.settings.txtTitle, "F\tG");
  EXPECT_EQ(parsed.options.settings.txtExclude, "a\nb");
  EXPECT_EQ(parsed.options.settings.chkUtf8, 0);
}

TEST(ParseCommandLine, SaysWhatIsWrongWithTheCommandLine) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--bogus", "/w"}, "The following argument was not expected: --bogus"},
      {{}, "FOLDER is required"},
      {{""}, "FOLDER is empty"},
      {{"/w", "/v"}, "The following argument was not expected: /v"},
      {{"/w", "--title"}, "--title: 1 required TEXT missing"},
      {{"-o", "", "/w"}, "--output: the output path is empty"},
      {{"--style", "0", "/w"}, "--style: 0 is not a style from 1 to 4"},
      {{"--style", "12", "/w"}, "--style: 12 is not a style from 1 to 4"},
      {{"--color", "text", "/w"}, "--color: expected KIND=RRGGBB, not text"},
      {{"--color", "Text=000000", "/w"},
       "--color: Text is not one of background, text, link, vlink, title, folder"},
      {{"--color", "text=#00000", "/w"}, "--color: #00000 is not a colour RRGGBB"},
      {{"--color", "text=0000000", "/w"}, "--color: 0000000 is not a colour RRGGBB"},
      {{"--set", "txtTitle", "/w"}, "--set: expected FIELD=VALUE, not txtTitle"},
      {{"--set", "txtDir=/x", "/w"}, "--set: unknown field txtDir"},
      {{"--set", "chkextension(0)=1", "/w"}, "--set: unknown field chkextension(0)"},
      {{"--set", "chkColor(6)=1", "/w"}, "--set: unknown field chkColor(6)"},
      {{"--set", "chkBullets=3", "/w"}, "--set: chkBullets takes 0, 1 or 2, not 3"},
      {{"--set", "chkSafeLinks=2", "/w"}, "--set: chkSafeLinks takes 0 or 1, not 2"},
      {{"--preface-file", "/dev/zero", "/w"}, "--preface-file: /dev/zero holds more than 16 MiB"},
      {{"--set", "chkLines=", "/w"}, "--set: chkLines takes 0, 1 or 2, not "},
      {{"--set", "optStyle(0)=0", "/w"},
       "--set: optStyle(0) takes only 1, which selects it, not 0"},
      {{"--template", "fancy", "/w"},
       "--template: cmbTemplate takes classic, modern or nothing, not fancy"},
      {{"--set", "cmbTemplate=Modern", "--write-settings", "/s"},
       "--set: cmbTemplate takes classic, modern or nothing, not Modern"},
      {{"--sitemap-xml", "/s.xml", "--site-url", "https://e.org", "--write-settings", "-"},
       "--sitemap-xml: a settings file keeps only a path below the page's folder, not /s.xml"},
      {{"--sitemap-xml", "-", "--site-url", "https://e.org", "--write-settings", "-"},
       "--sitemap-xml: a settings file keeps only a path below the page's folder, not -"},
      {{"--set", "chkCollapsed=2", "/w"}, "--set: chkCollapsed takes 0 or 1, not 2"},
      {{"--sitemap-xml", "/s.xml", "/w"},
       "txtSiteUrl: an XML sitemap (txtSitemapXml) needs the site URL its addresses start with"},
      {{"--exclude", "a/*", "/w"},
       "--exclude: txtExclude takes globs of names, which hold no /, not a/*"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(message);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    EXPECT_EQ(parsed.outcome, Outcome::kWrongUsage);
    EXPECT_EQ(parsed.text, message);
  }
  // What a page's <html lang> can hold, and nothing that could end the
  // attribute or the tag.
  for (const char* tag : {"en_US", "en-", "-en", "de--CH", "1a", "fr-abcdefghi", "en US", "\"x",
                          "e\xC3\xA9", "abcdefgh-abcdefgh-abcdefgh-abcdefgh-a"}) {
    EXPECT_EQ(ParseCommandLine({"--lang", tag, "/w"}).text,
              std::string("--lang: txtLang takes a language tag such as en or pt-BR, not ") + tag);
  }
  for (const char* colour :
       {"0x1000000", "16777216", "-1", "0x", "12a", "", " 1", "99999999999999999999999"}) {
    EXPECT_EQ(ParseCommandLine({"--set", std::string("shpColor(2)=") + colour, "/w"}).text,
              std::string("--set: shpColor(2) takes a number from 0 to 0xFFFFFF, not ") + colour);
  }
}

}  // namespace
}  // namespace cli
