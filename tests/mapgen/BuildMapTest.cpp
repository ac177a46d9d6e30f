// The build as a stream: the page it writes whatever the thread count, the
// order listings come in, a stop or a failure at any moment; and the file
// it writes into, which takes the old page's place only when all went well.
#include "BuildMap.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "BuildPage.h"
#include "FaultInjectingFileSystem.h"
#include "MemoryFileSystem.h"
#include "PosixFileSystem.h"
#include "RecordingObserver.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;
using Call = FaultInjectingFileSystem::Call;
using Outcome = BuildResult::Outcome;

MapSettings At(const std::string& base) {
  MapSettings settings;
  settings.txtDir = base;
  return settings;
}

MemoryFileSystem SmallSite() {
  MemoryFileSystem fs;
  fs.AddFile("/w/b.txt");
  fs.AddFolder("/w/empty");
  fs.AddFile("/w/docs/old/x.html", "<TITLE>Old</TITLE>");
  fs.AddFile("/w/a.htm", "<html><body>no title here");
  fs.AddFile("/w/img.jpg");
  fs.AddFile("/w/docs/guide.pdf");
  fs.AddFile("/w/index.html", "<html>\r\n<head>\r\n<title> Home </title>\r\n");
  return fs;
}

// More folders than the prefetch runs ahead by, and folders of more pages
// than one run holds, with titles long enough to fill its bytes.
MemoryFileSystem WideSite() {
  MemoryFileSystem fs;
  const std::string title = "<title>" + std::string(30000, 't') + "</title>";
  for (int folder = 0; folder < 300; ++folder) {
    const std::string path = "/w/f" + std::to_string(folder);
    const int pages = folder % 50 == 0 ? 40 : 2;
    for (int page = 0; page < pages; ++page) {
      fs.AddFile(path + "/p" + std::to_string(page) + ".html", title);
    }
    fs.AddFile(path + "/n.txt");
  }
  return fs;
}

class EveryThreadCount : public testing::TestWithParam<unsigned> {};

TEST_P(EveryThreadCount, SmallSiteWithDefaultSettings) {
  const MemoryFileSystem fs = SmallSite();
  RecordingObserver recorder;
  const BuiltPage built = BuildPage(At("/w"), fs, recorder, GetParam());
  ASSERT_EQ(built.outcome, Outcome::kBuilt);
  EXPECT_EQ(built.mapText,
            "<html>\r\n<head>\r\n"
            "   <!html document auto-created by 'Tessary' by Corvale Software>\r\n"
            "   <title>Site Map</title>\r\n"
            "</head>\r\n"
            "<body>\r\n"
            "<b><p align=\"Center\"><font size=+2>Site Map</b><p></font></p>\r\n"
            "<a href=index.html>Home</a><br>\r\n"
            "<a href=a.htm>No Title  </a><br>\r\n"
            "<a href=b.txt>b.txt</a><br>\r\n"
            "<UL><p><p><font size=+1><b>docs</b></font><br><br>\r\n"
            "<a href=docs/guide.pdf>guide.pdf</a><br>\r\n</UL>"
            "<UL><UL><p><p><font size=+1><b>old</b></font><br><br>\r\n"
            "<a href=docs/old/x.html>Old</a><br>\r\n</UL></UL>"
            "<UL><p><p><font size=+1><b>empty</b></font><br><br>\r\n</UL>"
            "<br><br><br><br><FONT FACE=\"Arial,Helvetica,Geneva\" size=-2>"
            "<hr WIDTH=100%>\r\n"
            "This webpage generated using <b>Tessary</b> by "
            "<a href=https://corvale.example>Corvale Software</a></font></p>\r\n"
            "</body>\r\n</html>\r\n");
  EXPECT_EQ(recorder.written,
            (std::vector<std::string>{"/w 1/4", "/w/docs 2/4", "/w/docs/old 3/4", "/w/empty 4/4"}));
  EXPECT_EQ(built.files, 5u);
  EXPECT_EQ(built.webPages, 3u);
  EXPECT_EQ(fs.Opened().size(), 3u);
  // The styles that show no titles read no page.
  const MemoryFileSystem untouched = SmallSite();
  MapSettings names = At("/w");
  SelectStyle(names, 2);
  BuildPage(names, untouched, recorder, GetParam());
  EXPECT_EQ(untouched.Opened(), std::vector<std::string>{});
}

TEST_P(EveryThreadCount, ListingsInAnyOrderGiveTheSamePage) {
  MemoryFileSystem fs = WideSite();
  RecordingObserver recorder;
  const std::string page = BuildPage(At("/w"), fs, recorder, 1).mapText;
  for (const unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    fs.ShuffleListings(seed);
    EXPECT_TRUE(BuildPage(At("/w"), fs, recorder, GetParam()).mapText == page);
  }
}

// Every check of the stop request in turn, from the walk's first to the
// last title's: each build ends stopped, until one is asked too late.
TEST_P(EveryThreadCount, AStopAtAnyMomentEndsTheBuild) {
  const MemoryFileSystem fs = WideSite();
  RecordingObserver whole;
  const std::string page = BuildPage(At("/w"), fs, whole, GetParam()).mapText;
  for (int checks = 0;; checks = 2 * checks + 1) {
    SCOPED_TRACE(checks);
    RecordingObserver recorder(checks);
    const BuiltPage built = BuildPage(At("/w"), fs, recorder, GetParam());
    if (built.outcome == Outcome::kBuilt) {
      EXPECT_TRUE(built.mapText == page);
      break;
    }
    ASSERT_EQ(built.outcome, Outcome::kStopped);
  }
}

// A folder that cannot be listed when its turn comes, far past the window
// the helpers fill, is told of; the build goes on to the end.
TEST_P(EveryThreadCount, AFolderFailingPastTheWindowNeverStallsTheBuild) {
  const MemoryFileSystem site = WideSite();
  FaultInjectingFileSystem fs(site);
  fs.Fail(Call::kList, "/w/f250", EACCES, 1);
  RecordingObserver recorder;
  EXPECT_EQ(BuildPage(At("/w"), fs, recorder, GetParam()).outcome, Outcome::kBuilt);
  EXPECT_EQ(recorder.warnings, "/w/f250: Permission denied\n");
}

// Links that lead back up the tree are neither walked nor listed, by one
// thread as by many.
TEST_P(EveryThreadCount, LinkLoopsAreNotWalked) {
  TempFolder temp;
  temp.Write("base/a/page.html", "<title>A</title>");
  const std::string base = temp.path() + "/base";
  std::filesystem::create_directory_symlink(base, base + "/a/up");
  std::filesystem::create_directory_symlink(base + "/a", base + "/a/self");
  std::filesystem::create_symlink(base + "/loop", base + "/loop");
  RecordingObserver recorder;
  const BuiltPage built = BuildPage(At(base), PosixFileSystem(), recorder, GetParam());
  EXPECT_EQ(recorder.written, (std::vector<std::string>{base + " 1/2", base + "/a 2/2"}));
  EXPECT_NE(built.mapText.find("<a href=a/page.html>A</a>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(OneAndMany, EveryThreadCount, testing::Values(1u, 8u));

// The page file of a build: the old page stays, and no temporary file is
// left, unless the build succeeds; nothing else is written or removed.
TEST(BuildMapFile, ThePageTakesItsPlaceOnlyWhenTheBuildSucceeds) {
  const std::string site = "/site";
  const std::string out = "/out";
  const std::string page = out + "/sitemap.html";
  RecordingObserver whole;
  PagePlacement placement;
  placement.folder = out;
  MemoryFileSystem files;
  files.AddFile("/site/index.html", "<title>Home</title>");
  const std::string expected =
      BuildPage(At(site), files, whole, kMostBuildThreads, placement).mapText;
  const struct {
    Call call;
    std::string path;  // none: no fault
    int error, stopAfterChecks;
    Outcome outcome;
    std::string failure;
  } cases[] = {
      {Call::kRead, "", 0, -1, Outcome::kBuilt, ": "},
      {Call::kRead, "", 0, 3, Outcome::kStopped, ": "},
      {Call::kCreate, out, EMFILE, -1, Outcome::kNotWritten, page + ": Too many open files"},
      {Call::kWrite, out, ENOSPC, -1, Outcome::kNotWritten, page + ": No space left on device"},
      {Call::kRename, page, EACCES, -1, Outcome::kNotWritten, page + ": Permission denied"},
      // Opened for the walk and the listing, then gone.
      {Call::kOpenFolder, site, ENOENT, -1, Outcome::kFailed, site + ": No such file or directory"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    MemoryFileSystem memory;
    memory.AddFile("/site/index.html", "<title>Home</title>");
    memory.AddFile(page, "old");
    FaultInjectingFileSystem fs(memory);
    fs.Fail(c.call, c.path, c.error, c.call == Call::kOpenFolder ? 2 : 0);
    RecordingObserver recorder(c.stopAfterChecks);
    const BuildResult result = BuildMapFile(At(site), fs, recorder, page);
    const bool built = c.outcome == Outcome::kBuilt;
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.failure.path + ": " + result.failure.reason, c.failure);
    EXPECT_EQ(memory.Content(page), built ? expected : "old");
    EXPECT_EQ(memory.Names(out), std::vector<std::string>{"sitemap.html"});
    EXPECT_EQ(memory.Written(), built ? std::vector{page} : std::vector<std::string>{});
    EXPECT_EQ(memory.Removed(), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace mapgen
