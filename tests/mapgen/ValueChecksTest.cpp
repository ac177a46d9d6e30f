// The edges of the checks that every source of a value goes through; the
// messages, source by source, are the CLI tests' (RefusedValuesTest).

#include "ValueChecks.h"

#include <gtest/gtest.h>

namespace mapgen {
namespace {

using Check = Refusal (*)(std::string_view);

struct Edge {
  Check check;
  std::string value;
  bool taken;
};

TEST(ValueChecks, TakeWhatBrowsersAndServersReadAsMeantAndNothingElse) {
  const Edge edges[] = {
      {CheckSiteUrl, "https://e.org", true},
      {CheckSiteUrl, "http://192.0.2.1:8080/site/", true},
      {CheckSiteUrl, "https://[2001:db8::1]/", true},
      {CheckSiteUrl,
       "https://xn--bcher-kva.de/b\xC3\xBC"
       "cher/",
       true},
      {CheckSiteUrl, "https://e.org:123456/", false},
      {CheckSiteUrl, "https://[2001:db8::1/", false},
      {CheckSiteUrl, "https://e<script>.org/", false},
      {CheckSiteUrl, "https://e.org/\xC2\x85", false},  // NEL, a C1 control
      {CheckSiteUrl, "https:/e.org/", false},
      {CheckLinkPrefix, "", true},
      {CheckLinkPrefix, "docs/a:b/", true},
      {CheckLinkPrefix, "//cdn.e.org/", true},
      {CheckLinkPrefix, "\x01 javascript:alert(1)", false},
      {CheckLinkPrefix, "jav\nascript:alert(1)", false},
      {CheckLinkPrefix, "mailto:a@e.org?body=", false},
      {CheckPathBelowPage, "..sitemap.xml", true},
      {CheckPathBelowPage, "maps/./s.xml", true},
      {CheckPathBelowPage, "maps/..", false},
      {CheckLanguageTag, "", true},
      {CheckLanguageTag, "zh-Hant-TW", true},
      {CheckLanguageTag, "de-1996", true},
      {CheckLanguageTag, "x-klingon", true},
      {CheckLanguageTag, "1en", false},
      {CheckLanguageTag, "en-", false},
      {CheckLanguageTag, "en--us", false},
      {CheckLanguageTag, "verylongx", false},
      {CheckLanguageTag, "abcdefgh-abcdefgh-abcdefgh-abcdefgh", true},
      {CheckLanguageTag, "abcdefgh-abcdefgh-abcdefgh-abcdefgh-a", false},
      {CheckExcludeGlobs, "*.bak\r\n\nnode_modules\r\n", true},
      {CheckExcludeGlobs, "*.bak\r\nprivate/x", false},
  };
  for (const Edge& edge : edges) {
    EXPECT_EQ(edge.check(edge.value).takes.empty(), edge.taken) << edge.value;
  }
  EXPECT_EQ(CheckExcludeGlobs("a\r\nb/c\r\nd").culprit, "b/c");
}

}  // namespace
}  // namespace mapgen
