// What a build reads of the files it replaces: the robots.txt it adds a
// line to, and the index whose parts it removes.
#include "PreviousFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "Gzip.h"
#include "PosixFileSystem.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;
using Names = std::vector<std::string>;

constexpr const char* kIndexStart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sitemapindex "
    "xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
constexpr const char* kIndexEntries =
    "<sitemap><loc>https://example.org/maps/site%20map-1.xml</loc></sitemap>\n"
    "<sitemap><loc> https://old.example/site map-12.xml\n</loc><lastmod>2024-01-01</lastmod>"
    "</sitemap>\n"
    "<sitemap><loc>https://example.org/site map-02.xml</loc></sitemap>\n"
    "<sitemap><loc>https://example.org/site map-.xml</loc></sitemap>\n"
    "<sitemap><loc>https://example.org/site map-3.xml.gz</loc></sitemap>\n"
    "<sitemap><loc>https://example.org/index.html</loc></sitemap>\n"
    "<sitemap><loc>https://example.org/a%2Fsite map-4.xml</loc></sitemap>\n"
    "<sitemap><loc>https://example.org/?a=1&amp;b=/site map-5.xml</loc></sitemap>\n"
    "</sitemapindex>\n";
const std::string kIndex = std::string(kIndexStart) + kIndexEntries;

TEST(PreviousFiles, NamesOnlyTheSitemapsOwnPartsFromItsIndex) {
  EXPECT_EQ(PartsNamedByIndex(kIndex, "site map.xml"),
            (Names{"site map-1.xml", "site map-12.xml", "site map-5.xml"}));
  EXPECT_EQ(PartsNamedByIndex(kIndex, "site map.xml.gz"), Names{"site map-3.xml.gz"});
  EXPECT_EQ(PartsNamedByIndex(kIndex, "other.xml"), Names{});
}

TEST(PreviousFiles, ReadsAnIndexThatIsAFileOfItsOwnCompressedOrNot) {
  TempFolder temp;
  const PosixFileSystem fs;
  // Entries that the file's first read cuts.
  const std::string index = kIndexStart + std::string(64 * 1024 - 200, ' ') + kIndexEntries;
  temp.Write("plain/site map.xml", index);
  temp.Write("urlset/site map.xml",
             "<urlset><url><loc>https://example.org/site%20map-1.xml</loc></url></urlset>");
  temp.Write("late/site map.xml", std::string(64 * 1024, ' ') + kIndex);
  std::filesystem::create_directories(temp.path() + "/link");
  std::filesystem::create_symlink("../plain/site map.xml", temp.path() + "/link/site map.xml");
  std::string gzip;
  {
    struct Into : SitemapSink {
      std::string& text;
      explicit Into(std::string& text) : text(text) {}
      void Begin() override {}
      void Write(std::string_view chunk) override { text += chunk; }
      void End(std::string_view) override {}
    } into(gzip);
    GzipSitemapSink sink(into);
    sink.Begin();
    sink.Write(index);
    sink.End("site map.xml.gz");
  }
  temp.Write("gz/site map.xml.gz", gzip);
  const Names plain = {"site map-1.xml", "site map-12.xml", "site map-5.xml"};
  EXPECT_EQ(PreviousParts(fs, temp.path() + "/plain/site map.xml"), plain);
  EXPECT_EQ(PreviousParts(fs, temp.path() + "/gz/site map.xml.gz"), Names{"site map-3.xml.gz"});
  for (const char* none : {"urlset", "late", "link", "missing", "gz"}) {
    EXPECT_EQ(PreviousParts(fs, temp.path() + "/" + none + "/site map.xml"), Names{}) << none;
  }
}

TEST(PreviousFiles, ReadsRobotsTxtOnlyWhereAFileOfItsOwnStands) {
  TempFolder temp;
  const PosixFileSystem fs;
  const std::string robots = "User-agent: *\r\nDisallow: /private/\r\n";
  temp.Write("file/robots.txt", robots);
  temp.Write("outside.txt", robots);
  std::filesystem::create_directories(temp.path() + "/link");
  std::filesystem::create_symlink("../outside.txt", temp.path() + "/link/robots.txt");
  std::filesystem::create_directories(temp.path() + "/fifo");
  ::mkfifo((temp.path() + "/fifo/robots.txt").c_str(), 0600);
  std::filesystem::create_directories(temp.path() + "/none");
  const struct {
    const char* folder;
    std::string text;
  } cases[] = {{"file", robots}, {"link", ""}, {"fifo", ""}, {"none", ""}};
  for (const auto& c : cases) {
    const auto text = ReadPreviousRobotsTxt(fs, temp.path() + "/" + c.folder + "/robots.txt");
    ASSERT_TRUE(text) << c.folder << ": " << text.failure().reason;
    EXPECT_EQ(*text, c.text) << c.folder;
  }
  const auto large = ReadPreviousRobotsTxt(fs, temp.path() + "/file/robots.txt", robots.size() - 1);
  ASSERT_FALSE(large);
  EXPECT_EQ(large.failure().reason, "File too large");
  // A file that cannot be read is no missing file: its lines would be lost.
  ::chmod(temp.path().c_str(), 0755);
  ::chmod((temp.path() + "/file/robots.txt").c_str(), 0);
  const auto denied = testing_support::RunInChild(
      [&] {
        const auto unread = ReadPreviousRobotsTxt(fs, temp.path() + "/file/robots.txt");
        return unread ? std::string("read") : unread.failure().reason;
      },
      true);
  if (!denied.privileged) {
    EXPECT_EQ(denied.output, "Permission denied");
  }
}

}  // namespace
}  // namespace mapgen
