#include "FileTitle.h"

#include <gtest/gtest.h>

#include <string>

#include "MemoryFileSystem.h"
#include "TitleScanner.h"

namespace mapgen {
namespace {

std::string TitleOf(const std::string& content) {
  MemoryFileSystem fs;
  fs.AddFile("/w/page.htm", content);
  const auto page = fs.OpenFile("/w/page.htm");
  return page ? FileTitle(**page, "<TITLE", "</TITLE") : "";
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

// The cut leaves out a character it splits, and only such a character:
// stray bytes that form none are kept.
TEST(FileTitle, LongTitlesAreCutAtTheCapLeavingOutOnlyASplitCharacter) {
  const std::size_t cap = kMaxTitleBytes;
  std::string pairs = "x";
  for (int i = 0; i < 40000; ++i) pairs += "\xC3\xA9";
  const std::pair<std::string, std::size_t> cases[] = {
      {std::string(70000, 'x'), cap},
      {pairs, cap - 1},
      {std::string(cap - 1, 'x') + "\xE2\x82\xAC", cap - 1},
      {std::string(cap - 2, 'x') + "\xF0\x9F\x98\x80", cap - 2},
      {std::string(cap - 2, 'x') + std::string(9, '\x80'), cap},
      {std::string(70000, '\x80'), cap},
      {std::string(cap - 1, 'x') + "\xC3", cap},
  };
  for (const auto& [title, length] : cases) {
    for (std::size_t pad : {4093u, 4096u}) {
      const std::string read = TitleOf(std::string(pad, ' ') + "<title>" + title + "</title>");
      SCOPED_TRACE(testing::Message() << title.size() << " bytes, pad " << pad);
      EXPECT_EQ(read.size(), length);
      EXPECT_TRUE(read == title.substr(0, length));
    }
  }
}

}  // namespace
}  // namespace mapgen
