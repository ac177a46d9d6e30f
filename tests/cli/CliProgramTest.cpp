// Runs the tessary-cli program itself on folders made for each test.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "BuildPage.h"
#include "CommandLine.h"
#include "PosixFileSystem.h"
#include "ProgramRun.h"
#include "TempFolder.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

using testing_support::ProgramRun;
using testing_support::ReadAll;
using testing_support::RunCli;
using testing_support::RunProgram;
using testing_support::RunScript;

// A folder of its own for each test, with a page, a text and a subfolder.
class CliProgram : public testing::Test {
 protected:
  void SetUp() override {
    ::chmod(site_.c_str(), 0755);
    temp_.Write("index.html", "<title>Home</title>");
    temp_.Write("a.txt", "a");
    temp_.Write("sub/b.pdf", "b");
  }

  // The page the core builds of the folder from `settings`.
  std::string CorePage(mapgen::MapSettings settings = {}) const {
    settings.txtDir = site_;
    mapgen::BuildObserver silent;
    return mapgen::BuildPage(settings, mapgen::PosixFileSystem(), silent).mapText;
  }

  const mapgen::testing_support::TempFolder temp_;
  const std::string site_ = temp_.path();
};

TEST_F(CliProgram, WritesThePageToTheFolderAFileOrStandardOutput) {
  const std::string page = CorePage();
  ASSERT_NE(page.find("<a href=sub/b.pdf>b.pdf</a>"), std::string::npos);
  const ProgramRun standardOutput = RunCli({"-o", "-", site_});
  EXPECT_EQ(standardOutput.status, 0);
  EXPECT_EQ(standardOutput.out, page);
  EXPECT_FALSE(fs::exists(site_ + "/sitemap.html"));
  // The process's own standard output, as the shell opened it.
  std::ofstream(site_ + "/log") << "log\n";
  const ProgramRun appended = RunScript("exec \"$0\" -o /dev/stdout \"$1\" >> \"$1/log\"", {site_});
  EXPECT_EQ(ReadAll(site_ + "/log"), "log\n" + page);

  const ProgramRun toFile = RunCli({"--output", site_ + "/page.out", site_});
  EXPECT_EQ(ReadAll(site_ + "/page.out"), page);

  const ProgramRun byDefault = RunCli({site_ + "/"});
  EXPECT_EQ(ReadAll(site_ + "/sitemap.html"), page);

  for (const ProgramRun& run : {toFile, byDefault, appended}) {
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out + run.err, "");
  }
}

TEST_F(CliProgram, WritesThePageTheCoreBuildsFromTheSameSettings) {
  mapgen::MapSettings settings;
  settings.optStyle = {false, true, false, false};
  settings.chkColor[2] = 1;
  settings.shpColor[2] = 0x563412;
  settings.txtPreface = "one\r\ntwo";
  EXPECT_EQ(
      RunCli({"--style", "2", "--color", "link=123456", "--preface", "one\ntwo", "-o", "-", site_})
          .out,
      CorePage(settings));
}

TEST_F(CliProgram, FailsWithTheSystemsReasonAndKeepsTheOldPage) {
  std::ofstream(site_ + "/sitemap.html") << "old";
  ASSERT_EQ(::mkfifo((site_ + "/pipe").c_str(), 0), 0);
  // Only the folder keeps the page from being replaced.
  for (const char* name : {"/sitemap.html", "/pipe"}) ::chmod((site_ + name).c_str(), 0666);
  ::chmod(site_.c_str(), 0555);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{site_ + "/mis\nsing\x1B[2J"},
       "cannot read " + site_ + "/mis\\x0Asing\\x1B[2J: No such file or directory"},
      {{site_ + "/a.txt"}, "cannot read " + site_ + "/a.txt: Not a directory"},
      {{"-o", "/dev/full", site_}, "cannot write /dev/full: No space left on device"},
      {{"-o", site_ + "/pipe", site_},
       "cannot write " + site_ + "/pipe: No such device or address (nothing reads from the pipe)"},
      {{site_},
       "cannot write " + site_ + "/sitemap.html: cannot create a file in " + site_ +
           ": Permission denied"},
      {{"--sitemap-xml", site_ + "/missing/s.xml", "--site-url", "https://e.org", "-o", "-", site_},
       "cannot write " + site_ + "/missing/s.xml: No such file or directory"},
  };
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(message);
    const ProgramRun run = RunCli(args, false, true);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tessary-cli: " + message + "\n");
  }
  EXPECT_EQ(ReadAll(site_ + "/sitemap.html"), "old");
  ::chmod(site_.c_str(), 0755);
}

bool HasTemporaryFile(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".tessary-")) return true;
  }
  return false;
}

TEST_F(CliProgram, AFileSizeLimitIsAWriteErrorThatKeepsTheOldPage) {
  std::ofstream(site_ + "/sitemap.html") << "old";
  const ProgramRun run =
      RunScript("ulimit -f 1; exec \"$0\" --title \"$1\" \"$2\"", {std::string(2000, 'T'), site_});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "tessary-cli: cannot write " + site_ + "/sitemap.html: File too large\n");
  EXPECT_EQ(ReadAll(site_ + "/sitemap.html"), "old");
  EXPECT_FALSE(HasTemporaryFile(site_));
}

TEST_F(CliProgram, MatchesLetterCaseWithoutInstalledLocales) {
  const std::string page = "r\xC3\xA9sum\xC3\xA9.\xC3\xA9t\xC3\xA9";
  std::ofstream(site_ + "/" + page);
  fs::create_directory(site_ + "/.none");
  // The machine's locale data hidden, as on a system that has none.
  const ProgramRun run = RunProgram(
      {"unshare", "-m", "sh", "-c",
       "mount --bind \"$1\" /usr/lib/locale && exec \"$0\" -o - --other \"$2\" \"$1/..\"",
       TESSARY_CLI, site_ + "/.none", "\xC3\x89T\xC3\x89"});
  if (run.status != 0) GTEST_SKIP() << "cannot hide the locale data: " << run.err;
  EXPECT_NE(run.out.find(">" + page + "</a>"), std::string::npos);
}

// What is wrong is the parser's to say (CommandLineTest); the program adds
// its status and a hint.
TEST_F(CliProgram, RefusesAWrongCommandLineWithAHint) {
  const std::string file = temp_.Write("bad.tessary", "cmbTemplate=modern\nchkNone=1\n");
  const ProgramRun run = RunCli({"--settings", file, site_});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "tessary-cli: " + file +
                         ":2: unknown field chkNone\n"
                         "Try 'tessary-cli --help' for more information.\n");
}

TEST_F(CliProgram, WritesSettingsThatReadBackTheSameWithoutBuilding) {
  const std::vector<std::string> flags = {
      "--title",   "A\tB\\",       "--style",        "3",
      "--preface", "x\ny",         "--color",        "text=102030",
      "--exclude", "node_modules", "--exclude",      "*~",
      "--utf8",    "--template",   "modern",         "--sitemap-xml",
      "pub/s.xml", "--site-url",   "https://e.org/", "--lastmod",
      "git",       "--robots-txt", "robots.txt"};
  const std::string file = temp_.path() + "/site.tessary";
  std::vector<std::string> args = flags;
  // Only the flags before it make the settings it writes.
  args.insert(args.end(), {"--write-settings", file, "--title", "later"});
  const ProgramRun written = RunCli(args);
  EXPECT_EQ(written.status, 0);
  EXPECT_EQ(written.out + written.err, "");
  const std::string text = ReadAll(file);

  args = flags;
  args.push_back(site_);
  ParsedCommandLine fromFlags = ParseCommandLine(args);
  const ParsedCommandLine fromFile = ParseCommandLine({"--settings", file, site_});
  ASSERT_EQ(fromFile.outcome, ParsedCommandLine::Outcome::kBuild) << fromFile.text;
  // A path from a flag is kept as typed, to be taken from the page's folder.
  fromFlags.options.settings.txtSitemapXml = "pub/s.xml";
  fromFlags.options.settings.txtRobotsTxt = "robots.txt";
  EXPECT_EQ(fromFile.options.settings, fromFlags.options.settings);

  const ProgramRun again = RunCli({"--settings", file, "--write-settings", file, site_});
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(ReadAll(file), text);
  EXPECT_FALSE(fs::exists(site_ + "/sitemap.html"));
}

TEST_F(CliProgram, TellsWhyASitemapCannotBeWrittenAndWarnsUnlessQuiet) {
  const std::string sitemap = site_ + "/maps/s.xml";
  fs::create_directories(site_ + "/maps");
  const std::vector<std::string> wanted = {"--sitemap-xml", sitemap, "--site-url",
                                           "https://e.org/"};
  const auto Run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), wanted.begin(), wanted.end());
    args.push_back(site_);
    return RunCli(args);
  };
  const ProgramRun empty = Run({"--no-html", "--no-txt", "--no-pdf"});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "tessary-cli: cannot write " + sitemap +
                           ": the XML sitemap would list no URL, and a sitemap cannot be empty\n");
  EXPECT_FALSE(fs::exists(site_ + "/sitemap.html"));
  EXPECT_FALSE(fs::exists(sitemap));

  const ProgramRun unnamed = RunCli({"--sitemap-xml", "-", "--site-url", "https://e.org/",
                                     "--robots-txt", site_ + "/robots.txt", site_});
  EXPECT_EQ(unnamed.status, 1);
  EXPECT_EQ(unnamed.err, "tessary-cli: cannot write " + site_ +
                             "/robots.txt: the XML sitemap goes to standard output, which has no "
                             "address to name\n");
  EXPECT_EQ(unnamed.out, "");

  const ProgramRun unannounced = RunCli({"-o", "-", "--robots-txt", site_ + "/robots.txt", site_});
  EXPECT_EQ(unannounced.status, 0);
  EXPECT_EQ(unannounced.err,
            "tessary-cli: warning: no XML sitemap is written (--sitemap-xml), so "
            "the robots file " +
                site_ + "/robots.txt is left as it is\n");
  EXPECT_FALSE(fs::exists(site_ + "/robots.txt"));

  const ProgramRun noGit = Run({"--lastmod", "git"});
  EXPECT_EQ(noGit.status, 1);
  EXPECT_NE(noGit.err.find("tessary-cli: cannot read " + site_ + ": "), std::string::npos)
      << noGit.err;

  // The sitemap in maps/ lists addresses above its folder.
  const std::string outside =
      "tessary-cli: warning: 3 URLs of the XML sitemap lie outside its own folder, which search "
      "engines accept only from a sitemap that robots.txt names (--robots-txt)\n";
  EXPECT_EQ(Run({}).err, outside);
  EXPECT_EQ(Run({"--quiet"}).err, "");
  const ProgramRun announced = Run({"--robots-txt", site_ + "/robots.txt"});
  EXPECT_EQ(announced.status, 0);
  EXPECT_EQ(announced.err, "");
  EXPECT_EQ(ReadAll(site_ + "/robots.txt"), "Sitemap: https://e.org/maps/s.xml\n");
}

TEST_F(CliProgram, ShowsVersionAndUsage) {
  EXPECT_EQ(RunCli({"--version"}).out, "tessary-cli 1.0.1\n");
  const ProgramRun help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
  std::istringstream lines(help.out);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
  for (const char* flag : {"  -o,--output FILE ", "  --set FIELD=VALUE ", "  --no-jpg "}) {
    EXPECT_NE(help.out.find(flag), std::string::npos) << flag;
  }
}

TEST_F(CliProgram, WarnsAboutUnreadableFoldersAndPagesUnlessQuiet) {
  // A name can neither steer the terminal nor split the warning's line.
  const std::string locked = site_ + "/lo\x1B]0;x\x07\rck\ned";
  fs::create_directory(locked);
  ::chmod(locked.c_str(), 0);
  std::ofstream(site_ + "/secret.html") << "<title>Secret</title>";
  ::chmod((site_ + "/secret.html").c_str(), 0);
  const ProgramRun warned = RunCli({"-o", "-", site_}, false, true);
  EXPECT_EQ(warned.status, 0);
  EXPECT_EQ(warned.err, "tessary-cli: warning: cannot read " + site_ +
                            "/secret.html: Permission denied\n"
                            "tessary-cli: warning: cannot read " +
                            site_ + "/lo\\x1B]0;x\\x07\\x0Dck\\x0Aed: Permission denied\n");
  EXPECT_NE(warned.out.find("<a href=secret.html>No Title  </a>"), std::string::npos);
  const ProgramRun quiet = RunCli({"-q", "-o", "-", site_}, false, true);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, warned.out);
  ::chmod(locked.c_str(), 0755);
}

TEST_F(CliProgram, DrawsProgressAndASummaryOnATerminalOnly) {
  const std::string summary = RunCli({site_}, true).err;
  const std::string counts = "Wrote " + site_ + "/sitemap.html: 2 folders, 3 files, 1 page in ";
  const std::size_t start = summary.find("Wrote ");
  ASSERT_NE(start, std::string::npos) << summary;
  EXPECT_EQ(summary.substr(start, counts.size()), counts);
  EXPECT_TRUE(summary.ends_with(" s\r\n")) << summary;

  const std::string deep = site_ + "/" + std::string(60, 'x');
  fs::create_directory(deep);
  // 39 of the 40 columns: the count, then the end of the folder's path.
  const std::string progress = "\r\033[K1/1 ..." + deep.substr(deep.size() - 32) + "\r\033[K";
  const std::string shown = RunCli({"-o", "-", deep}, true).err;
  EXPECT_EQ(shown.substr(0, progress.size()), progress);
  EXPECT_TRUE(shown.substr(progress.size())
                  .starts_with("Wrote standard output: 1 folder, 0 files, "
                               "0 pages in "))
      << shown;
  EXPECT_EQ(RunCli({"-q", "-o", "-", deep}, true).err, "");
}

}  // namespace
}  // namespace cli
