#include "FileTitle.h"

#include <gtest/gtest.h>

#include <string>

#include "MemoryFileSystem.h"

namespace mapgen {
namespace {

std::string TitleOf(const std::string& content) {
  MemoryFileSystem fs;
  fs.AddFile("/w/page.htm", content);
  return FileTitle(fs, "/w", "page.htm", "<TITLE", "</TITLE");
}

TEST(FileTitle, FindsTheTitleWhateverItsCaseAndAttributes) {
  EXPECT_EQ(TitleOf("head\r\n<title>Home</title>\r\n"), "Home");
  EXPECT_EQ(TitleOf("<TITLE lang=en>Home</Title>"), "Home");
  EXPECT_EQ(TitleOf("<title>  Home  </title>"), "  Home  ");
  EXPECT_EQ(TitleOf("<titlebar>Bar</titlebar>"), "Bar");
}

TEST(FileTitle, EmptyWhenThereIsNone) {
  EXPECT_EQ(TitleOf(""), "");
  EXPECT_EQ(TitleOf("<html><body>no title</body>"), "");
  EXPECT_EQ(TitleOf("<title></title><title>Later</title>"), "");
  EXPECT_EQ(TitleOf("<title"), "");
}

TEST(FileTitle, CarriageReturnsEndLinesAndLineFeedsDoNot) {
  // Without a closing tag the title is the rest of its line.
  EXPECT_EQ(TitleOf("<title>Home\r\n</title>"), "Home");
  EXPECT_EQ(TitleOf("<title>Home\rmore</title>"), "Home");
  // A title tag at the end of its line is passed over.
  EXPECT_EQ(TitleOf("<title>\r\nHome\r\n</title>\r\n"), "");
  EXPECT_EQ(TitleOf("<title>\r\nx\r\n<title>Second</title>"), "Second");
  // With line feeds alone the whole file is one line.
  EXPECT_EQ(TitleOf("<title>\nHome\n</title>\n"), "\nHome\n");
  EXPECT_EQ(TitleOf("<title>Home\nmore"), "Home\nmore");
  // The line feed of a pair is dropped with the carriage return.
  EXPECT_EQ(TitleOf("x\r\n<title>A\nB"), "A\nB");
}

TEST(FileTitle, TagsSplitAcrossReadsAreFound) {
  for (std::size_t pad : {4090u, 4093u, 4094u, 4095u, 4096u, 4100u}) {
    EXPECT_EQ(TitleOf(std::string(pad, ' ') + "<title>Far</title>"), "Far")
        << pad;
    EXPECT_EQ(TitleOf(std::string(pad, ' ') + "<title>" +
                      std::string(70000, 'x') + "</title>")
                  .size(),
              kMaxTitleBytes)
        << pad;
  }
  EXPECT_EQ(TitleOf(std::string(4095, ' ') + "\r\n<title>Next</title>"),
            "Next");
}

TEST(FileTitle, LongTitlesAreCutAtACharacterBoundary) {
  const std::string e = "\xC3\xA9";
  const std::string title = TitleOf("<title>x" + [&] {
    std::string many;
    for (int i = 0; i < 40000; ++i) many += e;
    return many;
  }() + "</title>");
  EXPECT_EQ(title.size(), kMaxTitleBytes - 1);
  EXPECT_EQ(title.substr(title.size() - 2), e);
}

TEST(FileTitle, MissingFileGivesEmptyTitleAndReason) {
  MemoryFileSystem fs;
  fs.AddFolder("/w");
  Failure failure;
  EXPECT_EQ(FileTitle(fs, "/w", "gone.htm", "<TITLE", "</TITLE", &failure), "");
  EXPECT_EQ(failure.path, "/w/gone.htm");
  EXPECT_EQ(failure.reason, "No such file or directory");
}

TEST(FileTitle, JoinsTheRootWithoutDoublingTheSeparator) {
  MemoryFileSystem fs;
  fs.AddFile("/a.htm", "<title>Root</title>");
  EXPECT_EQ(FileTitle(fs, "/", "a.htm", "<TITLE", "</TITLE"), "Root");
}

}  // namespace
}  // namespace mapgen
