#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "MemoryFileSystem.h"
#include "PageHead.h"
#include "RobotsNoindex.h"
#include "SitemapWriter.h"
#include "SizeAndTime.h"

namespace mapgen {
namespace {

struct WrittenFile {
  std::string name;
  std::string text;
};

class RecordingSink : public SitemapSink {
 public:
  void Begin() override { files.push_back({}); }
  void Write(std::string_view chunk) override { files.back().text += chunk; }
  void End(std::string_view name) override { files.back().name = name; }

  std::vector<WrittenFile> files;
};

constexpr const char* kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";

// Adds the file at `path` below the base folder of the site at `siteUrl`.
void Add(SitemapWriter& writer, std::string_view siteUrl, std::string_view path,
         std::time_t modified) {
  std::string url;
  AppendSitemapUrl(url, SitemapUrlStart(siteUrl), path, modified);
  writer.AddUrl(url);
}

std::vector<WrittenFile> Write(std::size_t count, SitemapLimits limits = {}) {
  RecordingSink sink;
  SitemapWriter writer("https://example.org/", "site.map.xml", sink, limits);
  for (std::size_t i = 0; i < count; ++i) {
    Add(writer, "https://example.org/", "p" + std::to_string(i) + ".html", 0);
  }
  writer.Finish();
  EXPECT_EQ(writer.urlCount(), count);
  return sink.files;
}

std::size_t UrlCount(std::string_view text) {
  std::size_t count = 0;
  while (text.find("<url>") != text.npos) {
    text.remove_prefix(text.find("<url>") + 1);
    ++count;
  }
  return count;
}

TEST(SitemapWriter, WritesEncodedLocationsAndUtcTimes) {
  RecordingSink sink;
  const std::string site = "https://example.org/?a=1&b=2";
  SitemapWriter writer(site, "sitemap.xml", sink);
  Add(writer, site, "a b/caf\xC3\xA9&.html", 1700000000);
  Add(writer, site, "bad\xFF<.html", 253402300800);  // year 10000: no lastmod
  writer.Finish();
  ASSERT_EQ(sink.files.size(), 1u);
  EXPECT_EQ(sink.files[0].name, "sitemap.xml");
  EXPECT_EQ(sink.files[0].text, std::string(kHead) +
                                    "<url><loc>https://example.org/?a=1&amp;b=2/a%20b/caf%C3%A9%26"
                                    ".html</loc><lastmod>2023-11-14T22:13:20Z</lastmod></url>\n"
                                    "<url><loc>https://example.org/?a=1&amp;b=2/bad%FF%3C.html"
                                    "</loc></url>\n</urlset>\n");
}

TEST(SitemapWriter, SplitsPastEitherLimitIntoPartsListedByAnIndex) {
  EXPECT_EQ(Write(0).at(0).text, std::string(kHead) + "</urlset>\n");
  const std::vector<WrittenFile> exact = Write(2, {.urls = 2});
  ASSERT_EQ(exact.size(), 1u);
  EXPECT_EQ(exact[0].name, "site.map.xml");

  const std::vector<WrittenFile> byCount = Write(5, {.urls = 2});
  const std::vector<WrittenFile> bySize = Write(5, {.bytes = exact[0].text.size()});
  for (const auto& files : {byCount, bySize}) {
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0].text, exact[0].text);
    for (std::size_t part = 0; part < 3; ++part) {
      EXPECT_EQ(files[part].name, SitemapPartName("site.map.xml", part + 1));
      EXPECT_EQ(UrlCount(files[part].text), part < 2 ? 2u : 1u);
    }
    EXPECT_EQ(files[3].name, "site.map.xml");
    EXPECT_EQ(files[3].text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sitemapindex "
              "xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
              "<sitemap><loc>https://example.org/site.map-1.xml</loc>"
              "</sitemap>\n"
              "<sitemap><loc>https://example.org/site.map-2.xml</loc>"
              "</sitemap>\n"
              "<sitemap><loc>https://example.org/site.map-3.xml</loc>"
              "</sitemap>\n</sitemapindex>\n");
  }
  EXPECT_EQ(SitemapPartName("map", 2), "map-2");
  EXPECT_EQ(SitemapPartName(".map", 2), ".map-2");
}

// Whether the page's head, as a build reads it, asks not to be indexed.
bool AsksNoindex(const std::string& page) {
  MemoryFileSystem fs;
  fs.AddFile("/p.html", page);
  const auto head = ReadPageHead(**fs.OpenFile("/p.html"), {false, false, true}, StopCheck());
  return head && head->noindex;
}

TEST(RobotsNoindex, ReadsRobotsMetaInTheHeadInAnyOrderAndQuoting) {
  const std::string meta = "<meta name=\"robots\" content=\"noindex\">";
  const std::pair<std::string, bool> cases[] = {
      {meta, true},
      {"<META CONTENT='NoIndex, nofollow' NAME=' Robots '>", true},
      {"<meta content=none name=robots>", true},
      {"<meta name=robots content=\"nofollow,noindexing\">", false},
      {"<meta name=googlebot content=noindex>", false},
      {"<meta name=description content=noindex><meta name=robots "
       "content=index>",
       false},
      {"<!-- " + meta + " -->", false},
      {"</head>" + meta, false},
      {"<BODY>" + meta, false},
      {std::string(kRobotsSearchBytes - meta.size(), ' ') + meta, true},
      {std::string(kRobotsSearchBytes - meta.size() + 1, ' ') + meta, false},
  };
  for (const auto& [page, noindex] : cases) {
    EXPECT_EQ(AsksNoindex(page), noindex) << page.substr(0, 80);
  }
}

TEST(SizeAndTime, FormatsSizesAndTimesForReaders) {
  const std::pair<std::uint64_t, const char*> sizes[] = {
      {0, "0 B"},
      {1023, "1023 B"},
      {1024, "1.0 KiB"},
      {3481, "3.4 KiB"},
      {1536, "1.5 KiB"},
      {1048575, "1.0 MiB"},
      {10ull << 30, "10.0 GiB"},
      {std::numeric_limits<std::uint64_t>::max(), "16.0 EiB"},
  };
  for (const auto& [bytes, text] : sizes) {
    std::string size = "size ";
    AppendHumanSize(size, bytes);
    EXPECT_EQ(size, std::string("size ") + text);
  }
  const auto UtcTimestamp = [](std::time_t time) {
    std::string text;
    const bool said = AppendUtcTimestamp(text, time);
    EXPECT_EQ(said, !text.empty()) << time;
    return text;
  };

  EXPECT_EQ(UtcTimestamp(-1), "1969-12-31T23:59:59Z");
  EXPECT_EQ(UtcTimestamp(951782400), "2000-02-29T00:00:00Z");
  EXPECT_EQ(UtcTimestamp(951868799), "2000-02-29T23:59:59Z");
  EXPECT_EQ(UtcTimestamp(253402300799), "9999-12-31T23:59:59Z");
  EXPECT_EQ(UtcTimestamp(253402300800), "");
  EXPECT_EQ(UtcTimestamp(-62167219201), "");
  const char* zone = std::getenv("TZ");
  const std::string saved = zone ? zone : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  EXPECT_EQ(LocalDateTime(0), "1970-01-01 09:00");
  EXPECT_EQ(UtcTimestamp(0), "1970-01-01T00:00:00Z");
  zone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace mapgen
