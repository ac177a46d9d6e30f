// The publishing options as a build applies them: what is listed, how
// names, titles and links are written, the XML sitemap beside the page, and
// the classic page, byte for byte, when every option is off.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "BuildMap.h"
#include "BuildPage.h"
#include "FaultInjectingFileSystem.h"
#include "MemoryFileSystem.h"
#include "PosixFileSystem.h"
#include "ReadWholeFile.h"
#include "RecordingObserver.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;

MapSettings At(const std::string& base) {
  MapSettings settings;
  settings.txtDir = base;
  return settings;
}

std::string Page(const MapSettings& settings, const FileSystem& fs,
                 const PagePlacement& placement = {}) {
  RecordingObserver recorder;
  const BuiltPage built = BuildPage(settings, fs, recorder, kMostBuildThreads, placement);
  EXPECT_EQ(recorder.warnings, "");
  return built.mapText;
}

PagePlacement From(const std::string& folder) {
  PagePlacement placement;
  placement.folder = folder;
  return placement;
}

bool Has(const std::string& page, const std::string& text) {
  return page.find(text) != std::string::npos;
}

TEST(PublishBuild, ExcludedNamesAreLeftOutAndExcludedFoldersNeverOpened) {
  MemoryFileSystem memory;
  memory.AddFile("/w/keep.html", "<title>Keep</title>");
  memory.AddFile("/w/old.bak.html");
  memory.AddFile("/w/node_modules/lib/x.html");
  memory.AddFile("/w/docs/a.txt");
  FaultInjectingFileSystem fs(memory);
  // Opening it would be reported as a warning.
  fs.Fail(FaultInjectingFileSystem::Call::kOpenFolder, "/w/node_modules", EACCES);
  MapSettings s = At("/w");
  s.txtExclude = "node_modules\r\n*.bak.*";
  const std::string page = Page(s, fs);
  EXPECT_TRUE(Has(page, "<a href=keep.html>Keep</a>"));
  EXPECT_TRUE(Has(page, "<a href=docs/a.txt>"));
  EXPECT_FALSE(Has(page, "bak"));
  EXPECT_FALSE(Has(page, "node_modules"));
}

TEST(PublishBuild, TheLastExtensionDecidesListingAndWebPages) {
  MemoryFileSystem fs;
  fs.AddFile("/w/struct.Foo.html", "<title>Foo</title>");
  fs.AddFile("/w/report.2024.pdf");
  fs.AddFile("/w/archive.tar.gz");
  fs.AddFile("/w/page.html", "<title>Page</title>");
  MapSettings s = At("/w");
  s.txtExtensions = "gz";
  s.chkExtension[5] = kChecked;
  const std::string classic = Page(s, fs);
  s.chkLastExtension = kChecked;
  const std::string last = Page(s, fs);
  const struct {
    const char* entry;
    bool classic, last;
  } cases[] = {
      {"<a href=struct.Foo.html>Foo</a>", false, true},
      {"<a href=report.2024.pdf>report.2024.pdf</a>", false, true},
      {"<a href=archive.tar.gz>archive.tar.gz</a>", false, true},
      {"<a href=page.html>Page</a>", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(Has(classic, c.entry), c.classic);
    EXPECT_EQ(Has(last, c.entry), c.last);
  }
}

TEST(PublishBuild, Utf8PagesConvertTitlesAndReplaceBrokenNames) {
  MemoryFileSystem fs;
  const struct {
    const char* name;
    std::string content;
    const char* title;  // as the page shows it
  } cases[] = {
      {"latin1.html", "<meta charset=\"ISO-8859-1\"><title>Caf\xE9</title>", "Caf\xC3\xA9"},
      {"sjis.html",
       "<meta http-equiv=\"Content-Type\" content=\"text/html; "
       "charset=Shift_JIS\"><title>\x93\xfa\x96\x7b</title>",
       "\xE6\x97\xA5\xE6\x9C\xAC"},
      {"eucjp.html", "<?xml version=\"1.0\" encoding=\"EUC-JP\"?><title>\xC6\xFC</title>",
       "\xE6\x97\xA5"},
      {"utf16.html", std::string("\xFF\xFE<\0t\0i\0t\0l\0e\0>\0\xE9\0<\0/\0t\0i\0t\0l\0e\0>\0", 34),
       "\xC3\xA9"},
      {"broken.html",
       "<title>a\xFF"
       "b</title>",
       "a\xEF\xBF\xBD"
       "b"},
      {"plain.html", "<title>\xC3\xA9t\xC3\xA9</title>", "\xC3\xA9t\xC3\xA9"},
  };
  for (const auto& c : cases) fs.AddFile(std::string("/w/") + c.name, c.content);
  fs.AddFile("/w/bad\xFFname.txt");
  fs.AddFile("/w/a b\xFF/c d.txt");
  fs.AddFile("/w/\xC3\xA9 t\xC3\xA9/c d.txt");
  MapSettings s = At("/w");
  s.chkUtf8 = kChecked;
  const std::string page = Page(s, fs);
  EXPECT_TRUE(page.starts_with("<html>\r\n<head>\r\n<meta charset=\"utf-8\">"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Has(page, std::string("<a href=") + c.name + ">" + c.title + "</a>"));
  }
  EXPECT_TRUE(Has(page, "<a href=bad%FFname.txt>bad\xEF\xBF\xBDname.txt</a>"));
  EXPECT_TRUE(Has(page, "<b>a b\xEF\xBF\xBD</b>"));
  EXPECT_TRUE(Has(page, "<a href=a%20b%FF/c%20d.txt>c d.txt</a>"));
  EXPECT_TRUE(Has(page, "<a href=\xC3\xA9 t\xC3\xA9/c d.txt>c d.txt</a>"));
  s.chkSafeLinks = kChecked;
  EXPECT_TRUE(Has(Page(s, fs),
                  "<a href=\"bad%FFname.txt\">"
                  "bad\xEF\xBF\xBDname.txt</a>"));
}

TEST(PublishBuild, LinksLeadFromThePageFolderOrStartWithThePrefix) {
  MemoryFileSystem fs;
  fs.AddFile("/w/site/a b/x&y.pdf");
  const struct {
    const char* prefix;
    bool safe;
    const char* pageFolder;
    const char* link;
  } cases[] = {
      {"", false, "", "<a href=a b/x&y.pdf>"},
      {"", false, "/w/site", "<a href=a b/x&y.pdf>"},
      {"", false, "/w/out", "<a href=../site/a b/x&y.pdf>"},
      {"", true, "/w/out", "<a href=\"../site/a%20b/x%26y.pdf\">"},
      {"", false, "/w/site/a b", "<a href=../a b/x&y.pdf>"},
      {"", false, "/", "<a href=w/site/a b/x&y.pdf>"},
      {"https://ex.org/d/", false, "/w/out", "<a href=https://ex.org/d/a b/x&y.pdf>"},
      {"https://ex.org/?q=%41&r=\xC3\xA9 ", true, "",
       "<a href=\"https://ex.org/?q=%41&amp;r=%C3%A9%20a%20b/x%26y.pdf\">"},
      {"../pub/", true, "/w/site", "<a href=\"../pub/a%20b/x%26y.pdf\">"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.prefix) + " from " + c.pageFolder);
    MapSettings s = At("/w/site");
    s.txtLinkPrefix = c.prefix;
    s.chkSafeLinks = c.safe ? kChecked : kUnchecked;
    s.optStyle = {false, false, true, false};  // shows the path unchanged
    const std::string page = Page(s, fs, From(c.pageFolder));
    EXPECT_TRUE(Has(page, std::string(c.link) + "x&"));
  }
}

// Every setting of the classic page, each with the publishing options set
// to their "off" values in every way they can be, gives the page that the
// settings alone give.
TEST(PublishBuild, EveryOptionOffIsTheClassicPageByteForByte) {
  MemoryFileSystem fs;
  fs.AddFile("/w/a b.html", "<title>A &amp; B</title>");
  fs.AddFile("/w/docs/c.htm", "<meta name=robots content=noindex>");
  fs.AddFile("/w/docs/x.txt");
  fs.AddFolder("/w/empty");
  for (int style = 1; style <= 4; ++style) {
    for (const CheckState safe : {kUnchecked, kChecked}) {
      MapSettings s = At("/w");
      s.optStyle = {style == 1, style == 2, style == 3, style == 4};
      s.chkSafeLinks = safe;
      s.chkBullets = safe;
      const std::string classic = Page(s, fs);
      s.cmbTemplate = "classic";
      s.txtExclude = "\n";
      EXPECT_EQ(Page(s, fs, From("/w/./docs/..")), classic);
      s.cmbTemplate = "";
      EXPECT_EQ(Page(s, fs, From("/w")), classic);
    }
  }
  EXPECT_EQ(Page(At("/w"), fs),
            "<html>\r\n<head>\r\n   <!html document auto-created by "
            "'Tessary' by Corvale Software>\r\n   <title>Site Map</title>\r\n"
            "</head>\r\n<body>\r\n<b><p align=\"Center\"><font size=+2>"
            "Site Map</b><p></font></p>\r\n<a href=a b.html>A &amp; B</a>"
            "<br>\r\n<UL><p><p><font size=+1><b>docs</b></font><br><br>\r\n"
            "<a href=docs/c.htm>No Title  </a><br>\r\n"
            "<a href=docs/x.txt>x.txt</a><br>\r\n</UL>"
            "<UL><p><p><font size=+1><b>empty</b></font><br><br>\r\n</UL>"
            "<br><br><br><br><FONT FACE=\"Arial,Helvetica,Geneva\" "
            "size=-2><hr WIDTH=100%>\r\nThis webpage generated using "
            "<b>Tessary</b> by <a href=https://corvale.example>Corvale "
            "Software</a></font></p>\r\n</body>\r\n</html>\r\n");
}

void SetModified(const std::string& path, std::time_t when) {
  const timespec times[2] = {{0, UTIME_OMIT}, {when, 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, 0);
}

std::string Read(const std::string& path) {
  const auto text = ReadWholeFile(path);
  EXPECT_TRUE(text) << text.failure().reason;
  return text ? *text : "";
}

// A tree whose web pages ask not to be indexed in various places of their
// head, one far past the first read of the title.
std::string SitemapSite(const TempFolder& temp) {
  const std::string padding(9000, ' ');
  const struct {
    const char* name;
    std::string content;
  } files[] = {
      {"a.html", "<title>A</title>" + padding + "<META Content='NoIndex' name=\"ROBOTS\"></head>"},
      {"b.html",
       "<title>B</title></head><body>"
       "<meta name=robots content=noindex>"},
      {"c d.pdf", ""},
      {"e.html", "<head><meta name=robots content=\"none\"><title>E"},
      {"sub/f.txt", ""},
      {"sub/g&h.html", "<title>G</title>"},
      {"sub/i.txt", ""},
  };
  for (const auto& file : files) {
    SetModified(temp.Write(std::string("site/") + file.name, file.content), 1700000000);
  }
  return temp.path() + "/site";
}

TEST(PublishBuild, SitemapLeavesOutNoindexPagesAndSplitsAtTheLimit) {
  TempFolder temp;
  MapSettings s = At(SitemapSite(temp));
  s.txtSitemapXml = "map.xml";
  s.txtSiteUrl = "https://ex.org/d&s";
  StagedSitemap staged(temp.path());
  const PosixFileSystem fs;
  PagePlacement placement;
  placement.stagedSitemap = &staged;
  placement.sitemapLimits.urls = 2;
  RecordingObserver recorder;
  const BuiltPage built = BuildPage(s, fs, recorder, 3, placement);
  ASSERT_EQ(built.outcome, BuildResult::Outcome::kBuilt);
  EXPECT_EQ(built.sitemapUrls, 5u);
  EXPECT_EQ(staged.Names(),
            (std::vector<std::string>{"map-1.xml", "map-2.xml", "map-3.xml", "map.xml"}));
  const auto placed = staged.Place(fs, temp.path() + "/site");
  ASSERT_TRUE(placed) << placed.failure().reason;
  const std::string at = temp.path() + "/site/";
  const std::string stamp = "<lastmod>2023-11-14T22:13:20Z</lastmod></url>\n";
  EXPECT_EQ(Read(at + "map-1.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<urlset xmlns="
            "\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
            "<url><loc>https://ex.org/d&amp;s/b.html</loc>" +
                stamp + "<url><loc>https://ex.org/d&amp;s/c%20d.pdf</loc>" + stamp + "</urlset>\n");
  EXPECT_TRUE(Has(Read(at + "map-2.xml"), "d&amp;s/sub/g%26h.html</loc>"));
  EXPECT_TRUE(Has(Read(at + "map.xml"),
                  "<sitemap><loc>https://ex.org/d&amp;s/map-3.xml</loc>"
                  "<lastmod>2023-11-14T22:13:20Z</lastmod></sitemap>\n</sitemapindex>\n"));
  // Placed again elsewhere, and the staged files go with the object.
  const auto again = staged.Place(fs, temp.path());
  ASSERT_TRUE(again) << again.failure().reason;
  EXPECT_EQ(Read(temp.path() + "/map-2.xml"), Read(at + "map-2.xml"));
}

// A page written with its sitemap outside the base folder: every link
// reaches its file, and the sitemap stands beside the page.
TEST(PublishBuild, EveryLinkOfAPageOutsideTheBaseReachesItsFile) {
  TempFolder temp;
  const std::string site = SitemapSite(temp);
  temp.Write("site/sub/deeper/\xC3\xBC ber.pdf");
  const std::string out = temp.path() + "/out/page";
  std::filesystem::create_directories(out);
  const auto Decode = [](std::string link, bool escaped) {
    std::string text;
    for (std::size_t i = 0; i < link.size(); ++i) {
      if (escaped && link.compare(i, 5, "&amp;") == 0) {
        text += '&';
        i += 4;
      } else if (escaped && link[i] == '%') {
        text += static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        text += link[i];
      }
    }
    return text;
  };
  for (const char* templateName : {"classic", "modern"}) {
    for (const CheckState safe : {kUnchecked, kChecked}) {
      SCOPED_TRACE(std::string(templateName) + (safe ? " safe" : ""));
      MapSettings s = At(site);
      s.cmbTemplate = templateName;
      s.chkSafeLinks = safe;
      s.txtSitemapXml = "sitemap.xml";
      s.txtSiteUrl = "https://ex.org";
      RecordingObserver recorder;
      const BuildResult result = BuildMapFile(s, PosixFileSystem(), recorder, out + "/map.html");
      ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt);
      EXPECT_TRUE(std::filesystem::is_regular_file(out + "/sitemap.xml"));
      const std::string page = Read(out + "/map.html");
      const bool escaped = safe || s.cmbTemplate == "modern";
      int links = 0;
      for (std::size_t at = page.find("href="); at != std::string::npos;
           at = page.find("href=", at + 1)) {
        const bool quoted = page[at + 5] == '"';
        const std::size_t from = at + 5 + (quoted ? 1 : 0);
        const std::string link = page.substr(from, page.find(quoted ? '"' : '>', from) - from);
        if (link.starts_with("https:")) continue;
        ++links;
        EXPECT_TRUE(std::filesystem::exists(out + "/" + Decode(link, escaped))) << link;
      }
      EXPECT_EQ(links, 8);
    }
  }
}

}  // namespace
}  // namespace mapgen
