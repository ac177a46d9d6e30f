// The modern page as the tools that read it see it: an HTML checker finds
// no error in it, and a browser shows its filter box and one section per
// folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "BuildPage.h"
#include "MemoryFileSystem.h"
#include "RecordingObserver.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

// What `command` prints on standard output, and its exit status.
std::pair<std::string, int> RunCommand(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return {output, -1};
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    output.append(buffer, got);
  }
  const int status = ::pclose(pipe);
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// A modern page of three folders, with every option of the classic page
// that changes how it looks.
std::string ModernPage(const TempFolder& temp, bool allOptions) {
  MemoryFileSystem fs;
  fs.AddFile("/w/index.html", "<title>Home &amp; more</title>", 1700000000);
  fs.AddFile("/w/a b/notes.txt", std::string(3500, 'x'));
  fs.AddFile("/w/a b/c/\xE6\x97\xA5.pdf");
  fs.AddFile("/w/a b/c/bad\xFF.pdf");
  MapSettings s;
  s.txtDir = "/w";
  s.cmbTemplate = "modern";
  if (allOptions) {
    s.chkSafeLinks = kChecked;
    s.chkBullets = kChecked;
    s.chkLines = kChecked;
    s.chkColor = {1, 1, 1, 1, 1, 1};
    s.chkBannerImage = kChecked;
    s.txtBannerImage = "top \"1\".png";
    s.cmbFont = "Noto \"Sans\"";
    s.txtPreface = "Read <<b>>this<</b>>.";
    s.txtAppendix = "Bye.";
    s.cmbSize[1] = "+3";
  }
  RecordingObserver recorder;
  const std::string page = BuildPage(s, fs, recorder).mapText;
  const std::string path = temp.Write(allOptions ? "all.html" : "page.html", page);
  return path;
}

TEST(ModernPage, PassesTheHtmlCheckerWithoutErrors) {
  if (!Installed("tidy")) GTEST_SKIP() << "tidy is not installed";
  TempFolder temp;
  for (const bool allOptions : {false, true}) {
    SCOPED_TRACE(allOptions ? "every option" : "no option");
    const auto [report, status] =
        RunCommand("tidy -e -q '" + ModernPage(temp, allOptions) + "' 2>&1");
    EXPECT_LT(status, 2) << report;  // 1: warnings only
  }
}

TEST(ModernPage, ABrowserShowsTheFilterAndOneSectionPerFolder) {
  if (!Installed("chromium")) GTEST_SKIP() << "chromium is not installed";
  TempFolder temp;
  const auto [dom, status] = RunCommand("HOME='" + temp.path() +
                                        "' chromium --headless --no-sandbox "
                                        "--disable-gpu --dump-dom 'file://" +
                                        ModernPage(temp, false) + "' 2>/dev/null");
  ASSERT_EQ(status, 0);
  EXPECT_EQ(Count(dom, "<details open=\"\""), 3u);
  EXPECT_EQ(Count(dom, "<summary>"), 3u);
  // The script has run and shown the box, which is hidden without it.
  EXPECT_EQ(Count(dom, "<p><input type=\"search\" id=\"filter\""), 1u);
  EXPECT_NE(dom.find("<small>3.4 KiB"), std::string::npos);
  EXPECT_NE(dom.find(" B, 2023-11-1"), std::string::npos);
}

}  // namespace
}  // namespace mapgen
