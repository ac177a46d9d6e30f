#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Ordinal.h"
#include "TextCase.h"
#include "TextToHtml.h"

namespace mapgen {
namespace {

TEST(TextToHtml, EscapesSingleCharactersAndPassesDoubledOnesRaw) {
  EXPECT_EQ(TextToHtml(""), "");
  EXPECT_EQ(TextToHtml("plain text"), "plain text");
  EXPECT_EQ(TextToHtml("a < b"), "a &lt; b");
  EXPECT_EQ(TextToHtml("a > b"), "a &gt; b");
  EXPECT_EQ(TextToHtml("say \"hi\""), "say &quot;hi&quot;");
  EXPECT_EQ(TextToHtml("Tom & Jerry"), "Tom &amp; Jerry");
  EXPECT_EQ(TextToHtml("<<b>>bold<</b>>"), "<b>bold</b>");
  EXPECT_EQ(TextToHtml("&&nbsp;"), "&nbsp;");
  EXPECT_EQ(TextToHtml("<<a href=\"\"x\"\">>"), "<a href=\"x\">");
}

TEST(TextToHtml, RunsOfThreeAndFour) {
  EXPECT_EQ(TextToHtml("<<<"), "<&lt;");
  EXPECT_EQ(TextToHtml("<<<<"), "<<");
  EXPECT_EQ(TextToHtml("&&&"), "&&amp;");
  // An escaped "<" next to a typed "&" keeps both readable.
  EXPECT_EQ(TextToHtml("<&"), "&lt;&amp;");
}

TEST(TextToHtml, CarriageReturnAndTheCharacterAfterItBecomeABreak) {
  EXPECT_EQ(TextToHtml("one\r\ntwo"), "one<br>two");
  EXPECT_EQ(TextToHtml("end\r"), "end<br>");
  EXPECT_EQ(TextToHtml("lf\nonly"), "lf\nonly");
  EXPECT_EQ(TextToHtml("a\r\r\nb"), "a<br>\nb");
}

TEST(UpperCase, MapsOneCharacterForOne) {
  EXPECT_EQ(UpperCase("index.html"), "INDEX.HTML");
  EXPECT_EQ(UpperCase("caf\xC3\xA9"), "CAF\xC3\x89");        // é
  EXPECT_EQ(UpperCase("stra\xC3\x9F" "e"), "STRA\xC3\x9F" "E");  // ß stays
  EXPECT_EQ(UpperCase("bad\xFF\xC3"), "BAD\xFF\xC3");
}

TEST(FindIgnoringAsciiCase, FindsTagsWhateverTheirCase) {
  EXPECT_EQ(FindIgnoringAsciiCase("x<TiTlE>", "<title"), 1u);
  EXPECT_EQ(FindIgnoringAsciiCase("<titl", "<title"), std::string::npos);
  EXPECT_EQ(FindIgnoringAsciiCase("<t <title", "<TITLE", 1), 3u);
}

std::vector<std::string> Sorted(std::vector<std::string> paths) {
  std::sort(paths.begin(), paths.end(), OrdinalLess);
  return paths;
}

TEST(OrdinalLess, BlankSortsBeforeSeparatorAndCapitalsBeforeSmall) {
  EXPECT_EQ(Sorted({"/w/b", "/w/A", "/w/a", "/w/A B", "/w/AB", "/w/A/x",
                    "/w/a/x", "/w/ab", "/w"}),
            (std::vector<std::string>{"/w", "/w/A", "/w/A B", "/w/A/x",
                                      "/w/AB", "/w/a", "/w/a/x", "/w/ab",
                                      "/w/b"}));
}

TEST(OrdinalLess, ComparesUtf16CodeUnitsNotCodePoints) {
  const std::string privateUse = "\xEE\x80\x80";        // U+E000
  const std::string emoji = "\xF0\x9F\x98\x80";         // U+1F600
  // In UTF-16 the surrogate pair of U+1F600 sorts before U+E000.
  EXPECT_TRUE(OrdinalLess(emoji, privateUse));
  EXPECT_FALSE(OrdinalLess(privateUse, emoji));
  EXPECT_TRUE(OrdinalLess("Z", "\xC3\xA9"));            // Z before é
}

TEST(OrdinalLess, InvalidBytesStillGiveATotalOrder) {
  std::vector<std::string> texts = {
      "\xEE\x80\x80", "\xF0\x9F\x98\x80", "\xF0\x41", "\xE2\x82",
      "\xE2\x82\xAC", "\xE2\x82X", "\xFF", "a", "", "\xC3"};
  for (const auto& a : texts) {
    EXPECT_FALSE(OrdinalLess(a, a));
    for (const auto& b : texts) {
      if (a != b) {
        EXPECT_NE(OrdinalLess(a, b), OrdinalLess(b, a)) << a << b;
      }
      for (const auto& c : texts) {
        if (OrdinalLess(a, b) && OrdinalLess(b, c)) {
          EXPECT_TRUE(OrdinalLess(a, c));
        }
      }
    }
  }
}

}  // namespace
}  // namespace mapgen
