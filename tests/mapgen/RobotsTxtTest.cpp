#include "RobotsTxt.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace mapgen {
namespace {

constexpr const char* kUrl = "https://example.org/sitemap.xml";

TEST(RobotsTxt, AddsTheSitemapLineKeepingEveryOtherByte) {
  const struct {
    std::string existing;
    std::string written;
  } cases[] = {
      {"", "Sitemap: https://example.org/sitemap.xml\n"},
      {"User-agent: *\nDisallow: /tmp/\n",
       "User-agent: *\nDisallow: /tmp/\nSitemap: https://example.org/sitemap.xml\n"},
      {"User-agent: *\r\nDisallow:",
       "User-agent: *\r\nDisallow:\r\nSitemap: " + std::string(kUrl) + "\r\n"},
      {"# no end\t", "# no end\t\nSitemap: https://example.org/sitemap.xml\n"},
      {"\xEF\xBB\xBFSitemap: https://example.org/other.xml\r\n\r\n",
       "\xEF\xBB\xBFSitemap: https://example.org/other.xml\r\n\r\nSitemap: " + std::string(kUrl) +
           "\r\n"},
      {"Sitemap: https://example.org/sitemap.xml.gz\n",
       "Sitemap: https://example.org/sitemap.xml.gz\nSitemap: " + std::string(kUrl) + "\n"},
      {"# Sitemap: https://example.org/sitemap.xml\n",
       "# Sitemap: https://example.org/sitemap.xml\nSitemap: " + std::string(kUrl) + "\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RobotsTxtWithSitemap(c.existing, kUrl), std::optional<std::string>(c.written))
        << c.existing;
  }
}

TEST(RobotsTxt, KeepsAFileThatNamesTheSitemapAlready) {
  for (const char* existing : {
           "Sitemap: https://example.org/sitemap.xml",
           "User-agent: *\r\nsitemap:https://example.org/sitemap.xml   # ours\r\n",
           "\xEF\xBB\xBF  SITEMAP \t: https://example.org/sitemap.xml\n\nUser-agent: *\n",
       }) {
    EXPECT_EQ(RobotsTxtWithSitemap(existing, kUrl), std::nullopt) << existing;
  }
}

TEST(RobotsTxt, TellsAnAddressBelowItsHostsRoot) {
  EXPECT_FALSE(IsBelowHostRoot("https://example.org"));
  EXPECT_FALSE(IsBelowHostRoot("https://example.org/"));
  EXPECT_FALSE(IsBelowHostRoot("http://example.org:8080/"));
  EXPECT_TRUE(IsBelowHostRoot("https://example.org/docs"));
  EXPECT_TRUE(IsBelowHostRoot("https://example.org/docs/"));
}

}  // namespace
}  // namespace mapgen
