#include "ClassicTemplate.h"

#include <gtest/gtest.h>

#include "Colour.h"
#include "PageWords.h"

namespace mapgen {
namespace {

TEST(PageArithmetic, ColoursLevelsAndCounts) {
  EXPECT_EQ(ColorToHex(0x00D0FDFF), "FFFDD0");
  EXPECT_EQ(ColorToHex(0x000A0B0C), "0C0B0A");
  EXPECT_EQ(ColorToHex(0), "000000");
  EXPECT_EQ(CountCharacters("/w/docs/old", "/"), 2);
  EXPECT_EQ(CountCharacters("", "/"), 0);
  EXPECT_EQ(CountCharacters("baaa", "aa"), 2);  // overlapping, after the first
  EXPECT_EQ(IndentLevel("/w/docs/old", "/w"), 2);
  EXPECT_EQ(IndentLevel("/", "/"), 0);
  EXPECT_EQ(IndentLevel("/docs", "/"), 1);
}

// The head of the page for a base folder /w, from its start, or with
// `body` from after its <head> element.
std::string Head(const MapSettings& settings, bool body = true) {
  const PageFormat format(settings, "/w");
  std::string page;
  ClassicTemplate(format).Head(page);
  return body ? page.substr(page.find("</head>\r\n") + 9) : page;
}

TEST(ClassicHead, EveryOptionalPiece) {
  MapSettings s;
  s.txtTitle = "A <b>&";
  s.chkColor = {1, 0, 1, 1, 1, 0};
  s.chkBgImage = 1;
  s.txtImage = "bg.jpg";
  s.chkBannerImage = 1;
  s.txtBannerImage = "top.png";
  s.cmbBannerAlign = "left";
  s.cmbFont = "Arial";
  s.cmbTitleAlign = "Right";
  s.cmbSize[1] = "NoRmAl";
  s.txtPreface = "one\r\ntwo";
  EXPECT_EQ(Head(s, false),
            "<html>\r\n<head>\r\n"
            "   <!html document auto-created by 'Tessary' by Corvale Software>\r\n"
            "   <title>A <b>&</title>\r\n</head>\r\n"
            "<body bgcolor=\"#FFFDD0\" link=\"#0000FF\" vlink=\"#C000C0\""
            " background=\"bg.jpg\">\r\n"
            "<p align=\"left\"><img SRC=\"top.png\"><br></p><br>\r\n"
            "<FONT FACE= \"Arial\"><b><p align=\"Right\">"
            "<font color=\"#000000\">A <b>&</b><p></font>\r\n</p>\r\n"
            "one<br>two<br><br>\r\n");
}

TEST(ClassicHead, TypedSizesAndFontsAreWrittenAsTheyStand) {
  MapSettings s;
  s.cmbSize[1] = "";
  s.cmbFont = "Default";
  s.txtPreface = " ";
  EXPECT_EQ(Head(s),
            "<body>\r\n<FONT FACE= \"Default\"><b><p align=\"Center\">"
            "<font size=>Site Map</b><p></font></p>\r\n <br><br>\r\n");
  s.cmbSize[1] = "normal ";
  EXPECT_NE(Head(s).find("<font size=normal >"), std::string::npos);
}

// The whole section of `folder`, with one entry "E" or none.
std::string Section(MapSettings s, const std::string& folder, const std::string& entry) {
  s.optStyle = {false, false, false, true};  // the bare name
  const FolderEntries entries{folder, {}, {}, {}};
  const FolderEntries one{folder, {entry}, {false}, {}};
  const FolderEntries& shown = entry.empty() ? entries : one;
  const PageFormat format(s, "/w");
  std::string page;
  WriteSectionRun(ClassicTemplate(format), s, shown, 0, shown.files.size(), {}, page);
  return page;
}

TEST(ClassicSection, HeadingsIndentingAndEmptyFolders) {
  MapSettings s;
  s.chkLines = 1;
  s.chkColor[5] = 1;
  s.shpColor[5] = 0x000000FF;
  EXPECT_EQ(Section(s, "/w", "E"), "E<br>\r\n");  // no heading, no indent
  EXPECT_EQ(Section(s, "/w/a/b c", "E"),
            "<UL><UL><p><p><p><hr WIDTH=100%>\r\n<font size=+1>"
            "<font color=\"#FF0000\"><b>b c</b></font></font>\r\n"
            "<br><br>\r\nE<br>\r\n</UL></UL>");
  s = MapSettings{};
  EXPECT_EQ(Section(s, "/w/e", ""), "<UL><p><p><font size=+1><b>e</b></font><br><br>\r\n</UL>");
  s.chkIndent = 0;
  s.cmbSize[2] = "Normal";
  EXPECT_EQ(Section(s, "/w/a", "E"), "<p><p><b>a</b><br><br>\r\nE<br>\r\n");
  s.chkShowEmpties = 0;
  EXPECT_EQ(Section(s, "/w/e", ""), "");
}

TEST(ClassicTail, AppendixFontAndFooter) {
  MapSettings s;
  s.txtAppendix = "bye & <<i>>";
  s.cmbFont = "Courier";
  const PageFormat format(s, "/w");
  std::string page;
  ClassicTemplate(format).Tail(0, page);
  EXPECT_EQ(page.substr(0, 40), "<br><br>bye &amp; <i></FONT><br><br><br>");
}

std::string Entries(int style, bool bullets, const std::string& folder,
                    const std::string& base = "/w") {
  MapSettings s;
  s.optStyle = {style == 1, style == 2, style == 3, style == 4};
  s.chkBullets = bullets ? 1 : 0;
  const FolderEntries entries{
      folder, {"page.htm", "my page.html", "a.pdf"}, {true, true, false}, {{"Title", "", ""}, {}}};
  const PageFormat format(s, base);
  std::string out;
  ClassicTemplate(format).Entries(entries, 0, 3, entries.details, out);
  return out;
}

TEST(ClassicEntries, EachStyleWithAndWithoutBullets) {
  EXPECT_EQ(Entries(1, false, "/w"),
            "<a href=page.htm>Title</a><br>\r\n"
            "<a href=my page.html>No Title  </a><br>\r\n"
            "<a href=a.pdf>a.pdf</a><br>\r\n");
  EXPECT_EQ(Entries(2, false, "/w/docs"),
            "Title   <a href=docs/page.htm>page.htm</a><br>\r\n"
            "No title:    <a href=docs/my page.html>my page.html</a><br>\r\n"
            "<a href=docs/a.pdf>a.pdf</a><br>\r\n");
  EXPECT_EQ(Entries(3, false, "/docs/old", "/"),
            "<a href=docs/old/page.htm>docs/old/page.htm</a><br>\r\n"
            "<a href=docs/old/my page.html>docs/old/my page.html</a><br>\r\n"
            "<a href=docs/old/a.pdf>a.pdf</a><br>\r\n");
  EXPECT_EQ(Entries(4, true, "/w"),
            "<LI>page.htm<br>\r\n<LI>my page.html<br>\r\n<LI>a.pdf<br>\r\n");
  // Bullets frame a folder's entries in a list; a folder without entries
  // has none.
  MapSettings s;
  s.chkBullets = 1;
  EXPECT_EQ(Section(s, "/w", "E"), "<UL><LI>E<br>\r\n</UL>");
  EXPECT_EQ(Section(s, "/w", ""), "");
}

}  // namespace
}  // namespace mapgen
