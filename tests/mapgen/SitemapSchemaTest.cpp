// Sitemaps of trees on disk as a build writes them, each file checked with
// xmllint against the protocol's own schemas (tests/schemas).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BuildMap.h"
#include "Gzip.h"
#include "Paths.h"
#include "PosixFileSystem.h"
#include "RecordingObserver.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;

// What xmllint says of `file` against the schema `xsd`; empty when valid.
std::string SchemaErrors(const std::string& file, const std::string& xsd) {
  const std::string command =
      "xmllint --noout --schema '" TESSARY_SCHEMAS "/" + xsd + "' '" + file + "' 2>&1";
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string said;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) said.append(buffer, got);
  return said.find(" validates\n") != std::string::npos ? "" : said;
}

std::size_t Count(std::string_view text, std::string_view what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != text.npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Makes `count` empty files below `folder`, a thousand a folder.
void ManyFiles(const TempFolder& temp, const std::string& folder, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::string sub = folder + "/f" + std::to_string(i / 1000);
    if (i % 1000 == 0) std::filesystem::create_directories(temp.path() + "/" + sub);
    const std::string path = temp.path() + "/" + sub + "/" + std::to_string(i) + ".txt";
    ::close(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
  }
}

std::string Cjk80() {
  std::string name;
  for (int i = 0; i < 80; ++i) name += "\xE4\xB8\x80";
  return name;
}

// A sitemap file's text, decompressed when it is gzip-compressed.
std::string Text(const TempFolder& temp, const std::string& file) {
  const std::string bytes = temp.Read(file);
  if (!Gunzip::Begins(bytes)) return bytes;
  std::string text;
  EXPECT_TRUE(Gunzip().Feed(bytes, [&](std::string_view more) {
    text += more;
    return true;
  }));
  return text;
}

// Where a build puts the sitemap, from the temporary folder, and the
// address its index gives the pieces' folder.
struct SitemapPlace {
  std::string file = "out/sitemap.xml";
  std::string piecesUrl = "https://example.org/docs/";
};

// Builds the page of `temp`'s "site" into "out", with its sitemap at
// `place`, and checks every sitemap file against its schema and the
// limits: `parts` files listed by an index, or one file when it is 0,
// `urls` URLs in all.
void ExpectValidSitemap(const TempFolder& temp, SitemapLimits limits, std::size_t urls,
                        std::size_t parts, const SitemapPlace& place = {}) {
  MapSettings settings;
  settings.txtDir = temp.path() + "/site";
  settings.txtSitemapXml = temp.path() + "/" + place.file;
  settings.txtSiteUrl = "https://example.org/docs";
  const std::string folder = ParentFolder(place.file) + "/";
  std::filesystem::create_directories(temp.path() + "/" + folder);
  std::filesystem::create_directories(temp.path() + "/out");
  PagePlacement placement;
  placement.sitemapLimits = limits;
  RecordingObserver recorder;
  const BuildResult result =
      BuildMapFile(settings, PosixFileSystem(), recorder, temp.path() + "/out/map.html", placement);
  ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt) << result.failure.reason;
  EXPECT_EQ(result.sitemapUrls, urls);

  const std::string name(LastName(place.file));
  const std::string sitemap = Text(temp, place.file);
  std::size_t written = 0;
  if (parts == 0) {
    EXPECT_EQ(SchemaErrors(temp.path() + "/" + place.file, "sitemap.xsd"), "");
    written = Count(sitemap, "<url>");
  } else {
    EXPECT_EQ(SchemaErrors(temp.path() + "/" + place.file, "siteindex.xsd"), "");
    EXPECT_EQ(Count(sitemap, "<sitemap>"), parts);
    for (std::size_t part = 1; part <= parts; ++part) {
      const std::string piece = SitemapPartName(name, part);
      SCOPED_TRACE(piece);
      EXPECT_NE(sitemap.find("<loc>" + place.piecesUrl + piece + "</loc>"), std::string::npos);
      EXPECT_EQ(SchemaErrors(temp.path() + "/" + folder + piece, "sitemap.xsd"), "");
      const std::string text = Text(temp, folder + piece);
      EXPECT_LE(text.size(), limits.bytes);
      EXPECT_LE(Count(text, "<url>"), limits.urls);
      written += Count(text, "<url>");
    }
  }
  EXPECT_EQ(written, urls);
  EXPECT_EQ(temp.Entries(folder).size(), (folder == "out/" ? 2 : 1) + parts);
}

struct SchemaCase {
  const char* what;
  std::function<void(const TempFolder&)> make;  // the tree below "site"
  SitemapLimits limits;
  std::size_t urls;
  std::size_t parts;
  SitemapPlace place = {};
};

void PrintTo(const SchemaCase& c, std::ostream* out) { *out << c.what; }

class SitemapSchema : public testing::TestWithParam<SchemaCase> {};

TEST_P(SitemapSchema, EveryFileTheBuildWritesIsValid) {
  const SchemaCase& c = GetParam();
  TempFolder temp;
  c.make(temp);
  ExpectValidSitemap(temp, c.limits, c.urls, c.parts, c.place);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, SitemapSchema,
    testing::Values(SchemaCase{"names",
                               [](const TempFolder& temp) {
                                 for (const std::string& name : std::vector<std::string>{
                                          "index.html", "a b&c.html",
                                          "\xE6\x97\xA5\xE6\x9C\xAC.html", "bad\xFF\xFE.txt",
                                          "sub/index.htm", "sub/<q>.pdf",
                                          Cjk80() + "/" + Cjk80() + "/" + Cjk80() + "/long.html"}) {
                                   temp.Write("site/" + name, "<title>t</title>");
                                 }
                               },
                               {},
                               6,
                               0},
                    SchemaCase{"the byte limit",
                               [](const TempFolder& temp) { ManyFiles(temp, "site", 300); },
                               {.bytes = 4096},
                               300,
                               8},
                    // Counted before compression.
                    SchemaCase{"compressed",
                               [](const TempFolder& temp) { ManyFiles(temp, "site", 300); },
                               {.bytes = 4096},
                               300,
                               8,
                               {.file = "out/sitemap.xml.gz"}},
                    // Served from its folder below the site address.
                    SchemaCase{"pieces in a subfolder",
                               [](const TempFolder& temp) { ManyFiles(temp, "site", 30); },
                               {.urls = 10},
                               30,
                               3,
                               {.file = "site/maps/sitemap.xml",
                                .piecesUrl = "https://example.org/docs/maps/"}}),
    [](const testing::TestParamInfo<SchemaCase>& info) {
      std::string name;
      for (const char c : std::string(info.param.what)) {
        if (std::isalnum(static_cast<unsigned char>(c))) name += c;
      }
      return name;
    });

TEST(SitemapSchema, SplitsPastExactlyFiftyThousandUrls) {
  TempFolder temp;
  ManyFiles(temp, "site", 50'000);
  ExpectValidSitemap(temp, {}, 50'000, 0);
  temp.Write("site/one more.txt");
  ExpectValidSitemap(temp, {}, 50'001, 2);
}

}  // namespace
}  // namespace mapgen
