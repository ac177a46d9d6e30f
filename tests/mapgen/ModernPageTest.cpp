// The modern page as its bytes: a tree of nested sections in tree order,
// counts, options as style rules. How it behaves in a browser (collapsed,
// its language, hostile names) and what the validators say is tested in
// tests/page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "BuildPage.h"
#include "MemoryFileSystem.h"
#include "RecordingObserver.h"

namespace mapgen {
namespace {

// Times on the page are local: these tests read them in UTC.
class ModernPage : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* zone = std::getenv("TZ")) saved_ = zone;
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  void TearDown() override {
    saved_ ? setenv("TZ", saved_->c_str(), 1) : unsetenv("TZ");
    tzset();
  }

  static std::string Build(MapSettings s, const MemoryFileSystem& fs) {
    s.txtDir = "/w";
    s.cmbTemplate = "modern";
    RecordingObserver recorder;
    return BuildPage(s, fs, recorder).mapText;
  }

  // The part of the page between <main> and </main>.
  static std::string Main(const std::string& page) {
    const std::size_t start = page.find("<main>\n") + 7;
    return page.substr(start, page.find("</main>") - start);
  }

 private:
  std::optional<std::string> saved_;
};

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Each folder's section holds its subfolders', "docs/api" inside "docs"
// before "docs-old"; without empty folders a folder with no files of its
// own is there for those below it, and a branch with none is not.
TEST_F(ModernPage, NestsEachFolderInItsParentWithItsCount) {
  MemoryFileSystem fs;
  fs.AddFile("/w/index.html", "<title>Home &amp; more</title>");
  fs.AddFile("/w/docs-old/x.txt", "xx", 86400);
  fs.AddFile("/w/docs/api/r.html", "<title>Ref</title>");
  fs.AddFolder("/w/docs/empty");
  fs.AddFolder("/w/empty/below");
  for (int i = 0; i < 1000; ++i) fs.AddFile("/w/z/f" + std::to_string(1000 + i) + ".txt");
  MapSettings s;
  s.chkShowEmpties = kUnchecked;
  const std::string page = Build(s, fs);
  const std::string time = "<time datetime=\"1970-01-01 00:00\">1970-01-01 00:00</time>";
  const std::string main = Main(page);
  EXPECT_EQ(main.substr(0, main.find("<details open><summary>z")),
            "<details open id=\"tree\"><summary>w <span class=\"count\">1 file</span></summary>\n"
            "<ul>\n<li><a href=\"index.html\">Home &amp; more</a> <small>30 B, " +
                time +
                "</small></li>\n</ul>\n"
                "<details open><summary>docs <span class=\"count\">0 files</span></summary>\n"
                "<details open><summary>api <span class=\"count\">1 file</span></summary>\n"
                "<ul>\n<li><a href=\"docs/api/r.html\">Ref</a> <small>18 B, " +
                time +
                "</small></li>\n</ul>\n</details>\n</details>\n"
                "<details open><summary>docs-old <span class=\"count\">1 file</span></summary>\n"
                "<ul>\n<li><a href=\"docs-old/x.txt\">x.txt</a> <small>2 B, "
                "<time datetime=\"1970-01-02 00:00\">1970-01-02 00:00</time></small></li>\n"
                "</ul>\n</details>\n");
  // A folder written in several runs comes in lists of 256 files.
  const std::size_t z =
      main.find("<summary>z <span class=\"count\">1,000 files</span></summary>\n<ul>\n");
  ASSERT_NE(z, std::string::npos);
  const std::size_t chunk = main.find("</ul>\n<ul>\n", z);
  EXPECT_EQ(Count(main.substr(z, chunk - z), "<li>"), 256u);
  EXPECT_EQ(Count(main, "</ul>\n<ul>\n"), 3u);
  EXPECT_TRUE(main.ends_with("</ul>\n</details>\n</details>\n"));
  EXPECT_NE(page.find("<footer>\n<p>1,003 files in 5 folders</p>\n"
                      "<p>This webpage generated using <b>Tessary</b> by Corvale Software</p>\n"
                      "</footer>\n<script>\n"),
            std::string::npos);

  s.chkShowEmpties = kChecked;
  const std::string withEmpties = Main(Build(s, fs));
  EXPECT_EQ(Count(withEmpties, "<details"), 8u);
  EXPECT_EQ(Count(withEmpties, "</details>"), 8u);
  EXPECT_NE(withEmpties.find("<summary>empty <span class=\"count\">0 files</span></summary>\n"
                             "<details open><summary>below"),
            std::string::npos);
}

// Every option of the classic page becomes a rule of the one style sheet,
// so a Content-Security-Policy that allows the sheet and the script by
// their hashes shows the page whole; the reader's dark or light colours
// apply only where no colour is chosen.
TEST_F(ModernPage, OptionsAreRulesOfItsOneStyleSheet) {
  MemoryFileSystem fs;
  fs.AddFile("/w/a/b.txt");
  MapSettings s;
  const std::string plain = Build(s, fs);
  EXPECT_NE(plain.find("prefers-color-scheme: dark"), std::string::npos);
  EXPECT_NE(plain.find("#tree details{margin-left:1.25em}"), std::string::npos);
  s.chkBullets = s.chkLines = kChecked;
  s.chkIndent = kUnchecked;
  s.chkColor = {1, 1, 1, 1, 1, 1};
  s.shpColor = {0x0000FF, 0x00FF00, 0xFF0000, 0x010203, 0x040506, 0x070809};
  s.chkBannerImage = s.chkBgImage = kChecked;
  s.txtBannerImage = "top \"1\".png";
  s.txtImage = "paper\".png";
  s.cmbFont = "Noto \"Sans\"</style>";
  s.cmbTitleAlign = "Right";
  s.cmbSize = {"normal", "+3", "-1"};
  const std::string page = Build(s, fs);
  EXPECT_EQ(Count(page, "<style>"), 1u);
  EXPECT_EQ(Count(page, "</style>"), 1u);
  EXPECT_EQ(Count(page, "<script>"), 1u);
  EXPECT_EQ(page.find("style="), std::string::npos);
  EXPECT_EQ(page.find("prefers-color-scheme"), std::string::npos);
  EXPECT_EQ(page.find("margin-left:1.25em"), std::string::npos);
  for (const char* rule :
       {"body{font-family:\"Noto \\22 Sans\\22 \\3C /style>\",sans-serif;background-color:#FF0000;"
        "color:#00FF00;background-image:url(\"paper\\22 .png\");}",
        "a:link{color:#0000FF;}", "a:visited{color:#030201;}",
        "h1{text-align:right;font-size:xx-large;color:#060504;}",
        "summary{font-size:small;color:#090807;}", ".banner{text-align:center;}",
        "#tree details{border-top:1px solid;", "#tree li::before{content:\"\\2022\";"}) {
    EXPECT_NE(page.find(rule), std::string::npos) << rule;
  }
  EXPECT_NE(page.find("<p class=\"banner\"><img src=\"top &quot;1&quot;.png\" alt=\"\"></p>"),
            std::string::npos);
}

}  // namespace
}  // namespace mapgen
