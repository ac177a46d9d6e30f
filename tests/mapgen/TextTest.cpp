#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Ascii.h"
#include "Ordinal.h"
#include "TextCase.h"
#include "TextToHtml.h"

namespace mapgen {
namespace {

// The fuzz target checks the escaping against the plain five passes on
// random text; these are the cases a user meets.
TEST(TextToHtml, EscapesSinglesPassesDoublesRawAndBreaksLines) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"a < b > c", "a &lt; b &gt; c"},
      {"say \"hi\" & bye", "say &quot;hi&quot; &amp; bye"},
      {"<<b>>bold<</b>>", "<b>bold</b>"},
      {"&&nbsp;", "&nbsp;"},
      {"<<<", "<&lt;"},
      {"<<<<", "<<"},
      {"one\r\ntwo\r", "one<br>two<br>"},
      {"lf\nonly", "lf\nonly"},
      // The character after a carriage return goes whole, never a piece.
      {"a\r\xC3\xA9"
       "b\r\xE2\x82\xAC\r\xF0\x9F\x98\x80"
       "c",
       "a<br>b<br><br>c"},
      {"a\r\xA9"
       "b\r\xC3",
       "a<br>b<br>"},
  };
  for (const auto& [text, html] : cases) EXPECT_EQ(TextToHtml(text), html) << text;
}

TEST(UpperCase, MapsOneCharacterForOneAndKeepsInvalidBytes) {
  EXPECT_EQ(UpperCase("index.html"), "INDEX.HTML");
  EXPECT_EQ(UpperCase("caf\xC3\xA9"), "CAF\xC3\x89");
  EXPECT_EQ(UpperCase("stra\xC3\x9F"
                      "e"),
            "STRA\xE1\xBA\x9E"
            "E");  // no "SS"
  EXPECT_EQ(UpperCase("\xCE\xB1\xCF\x82\xD1\x8F"), "\xCE\x91\xCE\xA3\xD0\xAF");
  EXPECT_EQ(UpperCase("\xC4\xB1"), "I");
  EXPECT_EQ(UpperCase("bad\xFF\xC3"), "BAD\xFF\xC3");
  EXPECT_EQ(FindIgnoringAsciiCase("<t <TiTlE>", "<title", 1), 3u);
}

TEST(OrdinalLess, ComparesUtf16CodeUnitsAndStaysTotalOnInvalidBytes) {
  // In UTF-16 the surrogate pair of U+1F600 sorts before U+E000.
  EXPECT_TRUE(OrdinalLess("\xF0\x9F\x98\x80", "\xEE\x80\x80"));
  EXPECT_TRUE(OrdinalLess("Z", "\xC3\xA9"));
  const std::vector<std::string> texts = {"\xEE\x80\x80",
                                          "\xF0\x9F\x98\x80",
                                          "\xF0\x41",
                                          "\xE2\x82",
                                          "\xE2\x82\xAC",
                                          "\xE2\x82X",
                                          "\xFF",
                                          "a",
                                          "",
                                          "\xC3"};
  for (const auto& a : texts) {
    for (const auto& b : texts) {
      EXPECT_EQ(a != b, OrdinalLess(a, b) != OrdinalLess(b, a)) << a << " " << b;
      for (const auto& c : texts) {
        EXPECT_TRUE(!OrdinalLess(a, b) || !OrdinalLess(b, c) || OrdinalLess(a, c));
      }
    }
  }
}

}  // namespace
}  // namespace mapgen
