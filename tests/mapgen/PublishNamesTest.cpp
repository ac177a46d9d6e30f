#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExcludeGlobs.h"
#include "ExtensionList.h"
#include "RelativeLinkBase.h"

namespace mapgen {
namespace {

TEST(ExcludeGlobs, ReadsOneGlobALineAndMatchesNamesAsFnmatchDoes) {
  const ExcludeGlobs globs("node_modules\r\n*.bak\n\n\r\n[Tt]emp?\n?.txt");
  EXPECT_EQ(globs.globs(),
            (std::vector<std::string>{"node_modules", "*.bak", "[Tt]emp?", "?.txt"}));
  const std::pair<const char*, bool> cases[] =
      {
          {"node_modules", true}, {"Node_modules", false}, {"x.bak", true},
          {"x.bak~", false},      {"Temp1", true},         {"temp", false},
          {"\xC3\xA9.txt", true},  // "?" is one character, not one byte
          {"ab.txt", false},      {"bad\xFF.bak", true},
      };
  for (const auto& [name, excluded] : cases) {
    EXPECT_EQ(globs.Matches(name), excluded) << name;
  }
  EXPECT_FALSE(ExcludeGlobs("\n\r\n").Matches("anything"));
}

TEST(LastExtensionOf, TakesTheTextAfterTheLastDotUpperCased) {
  const std::pair<const char*, const char*> cases[] = {
      {"report.2024.pdf", "PDF"},
      {"struct.Foo.html", "HTML"},
      {"archive.tar.gz", "GZ"},
      {"README", "README"},
      {"file.", ""},
      {"r\xC3\xA9sum\xC3\xA9.\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"},
  };
  for (const auto& [name, extension] : cases) {
    EXPECT_EQ(LastExtensionOf(name), extension) << name;
  }
  EXPECT_EQ(ExtensionOf("struct.Foo.html"), "FOO.HTML");
}

TEST(RelativeLinkBase, LeadsFromThePageFolderToTheBaseFolder) {
  const struct {
    const char* page;
    const char* base;
    const char* link;
  } cases[] = {
      {"/w/site", "/w/site", ""},
      {"/", "/", ""},
      {"/w/out", "/w/site", "../site/"},
      {"/w/site/sub", "/w/site", "../"},
      {"/w", "/w/site", "site/"},
      {"/", "/w", "w/"},
      {"/w", "/", "../"},
      {"/a/b", "/c", "../../c/"},
      {"/w/sitemap", "/w/site", "../site/"},  // whole names, not prefixes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(*RelativeLinkBase(c.page, c.base), c.link) << c.page << " -> " << c.base;
  }
}

}  // namespace
}  // namespace mapgen
