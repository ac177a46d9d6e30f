#include "BuildPage.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include "FaultInjectingFileSystem.h"
#include "MemoryFileSystem.h"

namespace mapgen {
namespace {

class RecordingObserver : public BuildObserver {
 public:
  void FolderWritten(const std::string& folder, std::size_t done,
                     std::size_t total) override {
    written.push_back(folder + " " + std::to_string(done) + "/" +
                      std::to_string(total));
  }
  void Unreadable(const Failure& failure) override {
    unreadable.push_back(failure.path + ": " + failure.reason);
  }
  bool StopRequested() const override { return stop; }

  std::vector<std::string> written;
  std::vector<std::string> unreadable;
  std::atomic<bool> stop = false;
};

const char kHead[] =
    "<html>\r\n<head>\r\n"
    "   <!html document auto-created by 'Tessary' by Corvale Software>\r\n"
    "   <title>Site Map</title>\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<b><p align=\"Center\"><font size=+2>Site Map</b><p></font></p>\r\n";

const char kTail[] =
    "<br><br><br><br><FONT FACE=\"Arial,Helvetica,Geneva\" size=-2>"
    "<hr WIDTH=100%>\r\n"
    "This webpage generated using <b>Tessary</b> by "
    "<a href=https://corvale.example>Corvale Software</a></font></p>\r\n"
    "</body>\r\n</html>\r\n";

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

class WholePage : public testing::TestWithParam<unsigned> {};

TEST_P(WholePage, SmallSiteWithDefaultSettings) {
  const MemoryFileSystem fs = SmallSite();
  MapSettings settings;
  settings.txtDir = "/w";
  RecordingObserver observer;

  const BuiltPage result = BuildPage(settings, fs, observer, GetParam());

  ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt);
  EXPECT_EQ(result.mapText,
            std::string(kHead) +
                "<a href=index.html>Home</a><br>\r\n"
                "<a href=a.htm>No Title  </a><br>\r\n"
                "<a href=b.txt>b.txt</a><br>\r\n"
                "<UL><p><p><font size=+1><b>docs</b></font><br><br>\r\n"
                "<a href=docs/guide.pdf>guide.pdf</a><br>\r\n</UL>"
                "<UL><UL><p><p><font size=+1><b>old</b></font><br><br>\r\n"
                "<a href=docs/old/x.html>Old</a><br>\r\n</UL></UL>"
                "<UL><p><p><font size=+1><b>empty</b></font><br><br>\r\n</UL>" +
                kTail);
  EXPECT_EQ(observer.written,
            (std::vector<std::string>{"/w 1/4", "/w/docs 2/4",
                                      "/w/docs/old 3/4", "/w/empty 4/4"}));
  EXPECT_TRUE(observer.unreadable.empty());
}

TEST_P(WholePage, StylesWithoutTitlesReadNoPage) {
  const MemoryFileSystem memory = SmallSite();
  FaultInjectingFileSystem fs(memory);
  fs.Fail(FaultInjectingFileSystem::Call::kOpenFile, "/w/index.html", EACCES);
  MapSettings settings;
  settings.txtDir = "/w";
  settings.optStyle = {false, false, true, false};
  RecordingObserver observer;
  EXPECT_EQ(BuildPage(settings, fs, observer, GetParam()).outcome,
            BuildResult::Outcome::kBuilt);
  EXPECT_TRUE(observer.unreadable.empty());
}

TEST_P(WholePage, StopsWhenAsked) {
  const MemoryFileSystem fs = SmallSite();
  MapSettings settings;
  settings.txtDir = "/w";
  RecordingObserver observer;
  observer.stop = true;
  const BuiltPage result = BuildPage(settings, fs, observer, GetParam());
  EXPECT_EQ(result.outcome, BuildResult::Outcome::kStopped);
  EXPECT_TRUE(result.mapText.empty());
}

INSTANTIATE_TEST_SUITE_P(SerialAndParallel, WholePage, testing::Values(1u, 8u));

}  // namespace
}  // namespace mapgen
