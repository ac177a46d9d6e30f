#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "Gzip.h"
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

// The <url> lines of files at `paths` below the base, dated one second
// apart in that order, for the site https://example.org/.
std::string Urls(const std::vector<std::string>& paths, std::time_t first = 1700000000) {
  std::string urls;
  for (const std::string& path : paths) {
    AppendSitemapUrl(urls, SitemapUrlStart("https://example.org"), path, first++);
  }
  return urls;
}

std::vector<std::string> Numbered(std::size_t count) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < count; ++i) paths.push_back("p" + std::to_string(i) + ".html");
  return paths;
}

std::vector<WrittenFile> Write(const std::string& urls, SitemapLimits limits = {},
                               std::string_view servedPath = "site.map.xml") {
  RecordingSink sink;
  SitemapWriter writer("https://example.org/", servedPath, sink, limits);
  writer.AddUrls(urls);
  writer.Finish();
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
  const std::string start = SitemapUrlStart("https://example.org/a&b/\xC3\xA9t\xC3\xA9 x");
  EXPECT_EQ(start, "https://example.org/a&amp;b/%C3%A9t%C3%A9%20x/");
  SitemapWriter writer("https://example.org/", "sitemap.xml", sink);
  std::string urls;
  AppendSitemapUrl(urls, start, "a b/caf\xC3\xA9&.html", 1700000000);
  AppendSitemapUrl(urls, start, "bad\xFF<.html", 253402300800);  // year 10000: no lastmod
  writer.AddUrls(urls);
  writer.Finish();
  ASSERT_EQ(sink.files.size(), 1u);
  EXPECT_EQ(sink.files[0].name, "sitemap.xml");
  EXPECT_EQ(sink.files[0].text, std::string(kHead) + "<url><loc>" + start +
                                    "a%20b/caf%C3%A9%26.html</loc>"
                                    "<lastmod>2023-11-14T22:13:20Z</lastmod></url>\n"
                                    "<url><loc>" +
                                    start + "bad%FF%3C.html</loc></url>\n</urlset>\n");
}

TEST(SitemapWriter, ListsAnIndexPageAsItsFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"index.html", "https://example.org/"},
      {"docs/index.htm", "https://example.org/docs/"},
      {"a b/index.html", "https://example.org/a%20b/"},
      {"Index.html", "https://example.org/Index.html"},
      {"index.html.bak", "https://example.org/index.html.bak"},
      {"index.shtml", "https://example.org/index.shtml"},
      {"myindex.html", "https://example.org/myindex.html"},
  };
  for (const auto& [path, loc] : cases) {
    std::string url;
    AppendSitemapUrl(url, SitemapUrlStart("https://example.org"), path, std::nullopt);
    EXPECT_EQ(url, std::string("<url><loc>") + loc + "</loc></url>\n");
  }
}

TEST(SitemapWriter, LeavesOutUrlsOfALengthSearchEnginesRefuse) {
  // Each CJK character of a name takes nine characters, and an "&"
  // written "&amp;" counts as one: the start is 24 characters long.
  const std::string cjk80 = [] {
    std::string name;
    for (int i = 0; i < 80; ++i) name += "\xE4\xB8\x80";
    return name;
  }();
  const std::string start = SitemapUrlStart("https://example.org/a&b");
  RecordingSink sink;
  SitemapWriter writer("https://example.org/", "sitemap.xml", sink);
  std::string urls;
  for (const auto& [urlStart, path] : std::vector<std::pair<std::string, std::string>>{
           {"http://a/", "b"},  // 10 characters
           {"http://a/", "bcd"},
           {start, std::string(2047 - 24, 'x')},
           {start, std::string(2048 - 24, 'y')},
           {start, cjk80 + "/" + cjk80 + "/" + cjk80 + "/a.html"},
       }) {
    AppendSitemapUrl(urls, urlStart, path, std::nullopt);
  }
  writer.AddUrls(urls);
  writer.Finish();
  EXPECT_EQ(writer.urlCount(), 2u);
  EXPECT_EQ(writer.leftOut().count, 3u);
  EXPECT_EQ(writer.leftOut().first, "http://a/b");
  ASSERT_EQ(sink.files.size(), 1u);
  EXPECT_EQ(UrlCount(sink.files[0].text), 2u);
  EXPECT_NE(sink.files[0].text.find("<loc>http://a/bcd</loc>"), std::string::npos);
  EXPECT_NE(sink.files[0].text.find("xxx</loc>"), std::string::npos);
}

TEST(SitemapWriter, WritesNoFileWithoutAUrl) {
  EXPECT_TRUE(Write("").empty());
  std::string tooShort;
  AppendSitemapUrl(tooShort, "http://a/", "b", std::nullopt);
  EXPECT_TRUE(Write(tooShort).empty());
}

TEST(SitemapWriter, SplitsPastEitherLimitIntoPartsListedAndDatedByAnIndex) {
  const std::vector<WrittenFile> exact = Write(Urls(Numbered(2)), {.urls = 2});
  ASSERT_EQ(exact.size(), 1u);
  EXPECT_EQ(exact[0].name, "site.map.xml");

  // The parts are dated by their newest URL, whatever the order.
  std::string urls = Urls({"p0.html"}, 1700000009) + Urls({"p1.html", "p2.html", "p3.html"});
  AppendSitemapUrl(urls, SitemapUrlStart("https://example.org"), "p4.html", std::nullopt);
  const std::vector<WrittenFile> byCount = Write(urls, {.urls = 2}, "maps/site.map.xml");
  const std::vector<WrittenFile> bySize =
      Write(urls, {.bytes = exact[0].text.size()}, "maps/site.map.xml");
  for (const auto& files : {byCount, bySize}) {
    ASSERT_EQ(files.size(), 4u);
    for (std::size_t part = 0; part < 3; ++part) {
      EXPECT_EQ(files[part].name, SitemapPartName("site.map.xml", part + 1));
      EXPECT_EQ(UrlCount(files[part].text), part < 2 ? 2u : 1u);
      EXPECT_LE(files[part].text.size(), exact[0].text.size());
    }
    EXPECT_EQ(files[3].name, "site.map.xml");
    EXPECT_EQ(files[3].text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sitemapindex "
              "xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n"
              "<sitemap><loc>https://example.org/maps/site.map-1.xml</loc>"
              "<lastmod>2023-11-14T22:13:29Z</lastmod></sitemap>\n"
              "<sitemap><loc>https://example.org/maps/site.map-2.xml</loc>"
              "<lastmod>2023-11-14T22:13:22Z</lastmod></sitemap>\n"
              "<sitemap><loc>https://example.org/maps/site.map-3.xml</loc>"
              "</sitemap>\n</sitemapindex>\n");
  }
}

TEST(SitemapWriter, NamesPartsBeforeTheExtensionAndTheCompression) {
  const std::pair<const char*, const char*> cases[] = {
      {"sitemap.xml", "sitemap-2.xml"},
      {"sitemap.xml.gz", "sitemap-2.xml.gz"},
      {"site.map.xml", "site.map-2.xml"},
      {"map", "map-2"},
      {".map", ".map-2"},
      {"map.gz", "map-2.gz"},
  };
  for (const auto& [name, part] : cases) EXPECT_EQ(SitemapPartName(name, 2), part);
  EXPECT_TRUE(IsCompressedSitemap("sitemap.xml.gz"));
  EXPECT_FALSE(IsCompressedSitemap("sitemap.xml.gzip"));
}

TEST(SitemapWriter, CountsTheUrlsOutsideItsOwnFolder) {
  const std::string urls = Urls({"a.html", "maps/b.html", "maps/c/d.html", "mapsx.html"});
  const struct {
    const char* servedPath;
    const char* url;
    std::size_t outside;
  } cases[] = {
      {"sitemap.xml", "https://example.org/sitemap.xml", 0},
      {"maps/sitemap.xml", "https://example.org/maps/sitemap.xml", 2},
      {"maps/c/s m.xml", "https://example.org/maps/c/s%20m.xml", 3},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    SitemapWriter writer("https://example.org", c.servedPath, sink);
    writer.AddUrls(urls);
    writer.Finish();
    EXPECT_EQ(writer.Url(), c.url);
    EXPECT_EQ(writer.urlsOutsideFolder(), c.outside) << c.servedPath;
  }
}

// The bytes of a gzip file, or "(corrupt)".
std::string Gunzip(const std::string& gzip) {
  z_stream stream{};
  inflateInit2(&stream, 15 + 16);
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data()));
  stream.avail_in = static_cast<uInt>(gzip.size());
  std::string text;
  int status = Z_OK;
  while (status == Z_OK) {
    char buffer[4096];
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    text.append(buffer, sizeof buffer - stream.avail_out);
  }
  inflateEnd(&stream);
  return status == Z_STREAM_END && stream.avail_in == 0 ? text : "(corrupt)";
}

TEST(GzipSitemapSink, CompressesEachFileWhole) {
  RecordingSink compressed;
  std::vector<WrittenFile> plain;
  {
    GzipSitemapSink sink(compressed);
    SitemapWriter writer("https://example.org/", "s.xml.gz", sink, {.urls = 3000});
    const std::string urls = Urls(Numbered(5000));
    writer.AddUrls(urls);
    writer.Finish();
    plain = Write(urls, {.urls = 3000}, "s.xml.gz");
  }
  ASSERT_EQ(compressed.files.size(), 3u);
  ASSERT_EQ(plain.size(), 3u);
  for (std::size_t i = 0; i < plain.size(); ++i) {
    EXPECT_EQ(compressed.files[i].name, plain[i].name);
    EXPECT_EQ(Gunzip(compressed.files[i].text), plain[i].text) << plain[i].name;
  }
  EXPECT_EQ(plain[2].name, "s.xml.gz");
  // Parts of similar lines shrink a good deal even at a fast level.
  EXPECT_LT(compressed.files[0].text.size() * 10, plain[0].text.size());
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
