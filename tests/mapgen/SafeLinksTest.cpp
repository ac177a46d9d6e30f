#include <gtest/gtest.h>

#include "ClassicTemplate.h"
#include "Escaping.h"

namespace mapgen {
namespace {

TEST(SafeText, EncodesSegmentsAndKeepsTitlesCharacterReferences) {
  std::string link;
  AppendPercentEncodedPath(link, "Az09-._~/a#b%?caf\xC3\xA9\xFF'");
  EXPECT_EQ(link, "Az09-._~/a%23b%25%3Fcaf%C3%A9%FF%27");
  std::string title;
  AppendEscapedTitle(title, "&amp; &#169; &#xA9; R&D & &; &#; &#x; &#12 &a-b;");
  EXPECT_EQ(title,
            "&amp; &#169; &#xA9; R&amp;D &amp; &amp;; &amp;#; &amp;#x; "
            "&amp;#12 &amp;a-b;");
}

MapSettings Safe(int style) {
  MapSettings s;
  s.chkSafeLinks = 1;
  s.optStyle = {style == 1, style == 2, style == 3, style == 4};
  return s;
}

TEST(SafeLinks, NamesAndTitlesBecomeTextAndLinksAreQuoted) {
  const FolderEntries entries{
      "/w/a&b", {"x <y>.htm", "q\"#.pdf"}, {true, false}, {{"<i>T</i> &amp;", ""}, {}}};
  const auto Render = [&](const MapSettings& s) {
    const PageFormat format(s, "/w");
    std::string out;
    ClassicTemplate(format).Entries(entries, 0, 2, entries.details, out);
    return out;
  };
  EXPECT_EQ(Render(Safe(1)),
            "<a href=\"a%26b/x%20%3Cy%3E.htm\">&lt;i&gt;T&lt;/i&gt; &amp;</a>"
            "<br>\r\n<a href=\"a%26b/q%22%23.pdf\">q&quot;#.pdf</a><br>\r\n");
  EXPECT_EQ(Render(Safe(2)),
            "&lt;i&gt;T&lt;/i&gt; &amp;   <a href=\"a%26b/x%20%3Cy%3E.htm\">"
            "x &lt;y&gt;.htm</a><br>\r\n"
            "<a href=\"a%26b/q%22%23.pdf\">q&quot;#.pdf</a><br>\r\n");
  EXPECT_EQ(Render(Safe(3)),
            "<a href=\"a%26b/x%20%3Cy%3E.htm\">a&amp;b/x &lt;y&gt;.htm</a>"
            "<br>\r\n<a href=\"a%26b/q%22%23.pdf\">q&quot;#.pdf</a><br>\r\n");
  EXPECT_EQ(Render(Safe(4)), "x &lt;y&gt;.htm<br>\r\nq&quot;#.pdf<br>\r\n");
}

TEST(SafeLinks, FolderHeadingsAreTextAndFreeTextKeepsItsMarkup) {
  MapSettings s = Safe(1);
  s.txtPreface = "<<b>>x<</b>>";
  const PageFormat format(s, "/w");
  const ClassicTemplate page(format);
  std::string section;
  page.SectionStart("/w/<script>", 0, section);
  EXPECT_EQ(section, "<UL><p><p><font size=+1><b>&lt;script&gt;</b></font><br><br>\r\n");
  std::string head;
  page.Head(head);
  EXPECT_NE(head.find("<b>x</b><br><br>"), std::string::npos);
}

}  // namespace
}  // namespace mapgen
