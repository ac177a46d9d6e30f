#include "CanonicalUrl.h"

#include <gtest/gtest.h>

#include <string>

namespace mapgen {
namespace {

using enum CanonicalMatch;

TEST(CanonicalUrl, ComparesAsSearchEnginesDo) {
  const std::string page = "https://example.org/docs/a%20b/index.html";
  const struct {
    const char* href;
    CanonicalMatch match;
  } cases[] = {
      // The same address, spelt many ways.
      {"https://example.org/docs/a%20b/", kSame},
      {"HTTPS://Example.ORG:443/docs/a%20b/index.html", kSame},
      {"https://example.org:0443/docs/a b/index.htm", kSame},
      {"https://example.org/docs/a%20b/index.html#top", kSame},
      {"https://example.org/docs/./x/../a%20b/", kSame},
      {"https://example.org/%64ocs/a%20b/", kSame},
      {"https://example.org/docs/a%20b/index.html?", kSame},
      {"//example.org/docs/a%20b/", kSame},
      {"/docs/a%20b/", kSame},
      {"./", kSame},
      {"index.html", kSame},
      {"", kSame},
      {"#section", kSame},
      {"  \t https://example.org/docs/a%20b/\n", kSame},
      {"https://example.org/docs/a&#x25;20b/", kSame},
      {"../a%20b/", kSame},
      // http against https, and nothing else.
      {"http://example.org/docs/a%20b/", kOtherScheme},
      {"http://example.org:80/docs/a%20b/index.htm", kOtherScheme},
      {"http://example.org:443/docs/a%20b/", kElsewhere},
      // Other addresses.
      {"https://example.org/docs/", kElsewhere},
      {"https://example.org/docs/a%20b", kElsewhere},
      {"https://example.org/docs/a%20b/?page=2", kElsewhere},
      {"https://example.org:8443/docs/a%20b/", kElsewhere},
      {"https://www.example.org/docs/a%20b/", kElsewhere},
      {"https://example.org/Docs/a%20b/", kElsewhere},
      {"https://example.org/docs/a%2Fb/", kElsewhere},
      {"https://user@example.org/docs/a%20b/", kElsewhere},
      {"ftp://example.org/docs/a%20b/", kElsewhere},
      {"other.html", kElsewhere},
      {"../", kElsewhere},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareCanonical(c.href, page), c.match) << c.href;
  }
}

TEST(CanonicalUrl, ReadsNamesAsTheSitemapEncodesThem) {
  // The sitemap encodes every byte of a name but the unreserved ones; a
  // page may name itself with those bytes as they are.
  const std::string page = "https://example.org/caf%C3%A9/g%26h%FF.html";
  for (const char* href : {"https://example.org/caf\xC3\xA9/g&amp;h\xFF.html",
                           "/caf%c3%a9/g&h%ff.html", "g%26h\xFF.html"}) {
    EXPECT_EQ(CompareCanonical(href, page), kSame) << href;
  }
  EXPECT_EQ(NormalisedUrl("HTTP://A.B:80", "https://x.y/"), "http://a.b/");
  EXPECT_EQ(NormalisedUrl("c/../../d?q=%7e%2f", "https://x.y/a/b"), "https://x.y/d?q=~%2F");
  EXPECT_EQ(NormalisedUrl("[::1]", "no-scheme"), "");
}

}  // namespace
}  // namespace mapgen
