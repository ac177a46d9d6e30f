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

// The fuzz target checks the streaming reader against a whole-page reading
// in reads of every size; these are the cases pages really hold.
TEST(FileTitle, TagsLineEndsAndEmptyTitles) {
  const std::pair<std::string, std::string> cases[] = {
      {"head\r\n<title>Home</title>\r\n", "Home"},
      {"<TITLE lang=en>Home</Title>", "Home"},
      {"<title>  Home  </title>", "  Home  "},
      {"<titlebar>Bar</titlebar>", "Bar"},
      {"", ""},
      {"<html><body>no title</body>", ""},
      {"<title></title><title>Later</title>", ""},
      // Without a closing tag the title is the rest of its line, and lines
      // end at carriage returns only.
      {"<title>Home\r\n</title>", "Home"},
      {"<title>Home\rmore</title>", "Home"},
      {"<title>\r\nHome\r\n</title>\r\n", ""},
      {"<title>\r\nx\r\n<title>Second</title>", "Second"},
      {"<title>\nHome\n</title>\n", "\nHome\n"},
      {"x\r\n<title>A\nB", "A\nB"},
  };
  for (const auto& [page, title] : cases) EXPECT_EQ(TitleOf(page), title) << page;
}

TEST(FileTitle, LongTitlesStopAtTheCapOnACharacterBoundary) {
  for (std::size_t pad : {4093u, 4096u}) {
    EXPECT_EQ(TitleOf(std::string(pad, ' ') + "<title>" +
                      std::string(70000, 'x') + "</title>")
                  .size(),
              kMaxTitleBytes);
  }
  std::string many = "<title>x";
  for (int i = 0; i < 40000; ++i) many += "\xC3\xA9";
  const std::string title = TitleOf(many);
  EXPECT_EQ(title.size(), kMaxTitleBytes - 1);
  EXPECT_EQ(title.substr(title.size() - 2), "\xC3\xA9");
}

TEST(FileTitle, MissingFileGivesEmptyTitleAndReason) {
  MemoryFileSystem fs;
  fs.AddFile("/a.htm", "<title>Root</title>");
  EXPECT_EQ(FileTitle(fs, "/", "a.htm", "<TITLE", "</TITLE"), "Root");
  Failure failure;
  EXPECT_EQ(FileTitle(fs, "/", "gone.htm", "<TITLE", "</TITLE", &failure), "");
  EXPECT_EQ(failure.path, "/gone.htm");
  EXPECT_EQ(failure.reason, "No such file or directory");
}

}  // namespace
}  // namespace mapgen
