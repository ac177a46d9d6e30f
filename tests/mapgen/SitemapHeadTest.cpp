// What the XML sitemap learns from a page's head, read as a build reads
// it: whether it asks not to be indexed, and its canonical address.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "MemoryFileSystem.h"
#include "MetaTags.h"
#include "PageHead.h"

namespace mapgen {
namespace {

using namespace std::string_literals;

PageHead SitemapHead(const std::string& page) {
  MemoryFileSystem fs;
  fs.AddFile("/p.html", page);
  auto head = ReadPageHead(**fs.OpenFile("/p.html"), {.title = false, .robots = true}, StopCheck());
  EXPECT_TRUE(head);
  return head ? *head : PageHead();
}

// Puts `tag` where the first read of a page (4 KiB) cuts it in two.
std::string AcrossTheFirstRead(const std::string& tag) {
  return "<head>" + std::string(4096 - 6 - tag.size() / 2, ' ') + tag + "</head>";
}

TEST(SitemapHead, FindsRobotsNoindexInEverySpelling) {
  const std::string meta = "<meta name=\"robots\" content=\"noindex\">";
  const std::pair<std::string, bool> cases[] = {
      {meta, true},
      {"<META CONTENT='NoIndex, nofollow' NAME=' Robots '>", true},
      {"<meta content=none name=robots />", true},
      {"<meta content=none name=robots/>", false},  // the value is "robots/"
      {"<meta name=googlebot content=\"index, NOINDEX\">", true},
      {"<meta\tname=BingBot\ncontent=noindex>", true},
      {"<meta name=robots content=\"nofollow,noindexing\">", false},
      {"<meta name=otherbot content=noindex>", false},
      {"<meta name=description content=noindex><meta name=robots content=index>", false},
      {"<metadata name=robots content=noindex>", false},
      {"<!-- " + meta + " -->", false},
      {"</head>" + meta, false},
      {"<BODY>" + meta, false},
      {"<meta name=robots content=\"noindex", false},
      {AcrossTheFirstRead(meta), true},
      {std::string(kHeadSearchBytes - meta.size(), ' ') + meta, true},
      {std::string(kHeadSearchBytes - meta.size() + 1, ' ') + meta, false},
      {"\xFF\xFE"s + "<\0m\0e\0t\0a\0 \0n\0a\0m\0e\0=\0r\0o\0b\0o\0t\0s\0 \0"
                     "c\0o\0n\0t\0e\0n\0t\0=\0n\0o\0n\0e\0>\0"s,
       true},
  };
  for (const auto& [page, noindex] : cases) {
    EXPECT_EQ(SitemapHead(page).noindex, noindex) << page.substr(0, 80);
  }
}

TEST(SitemapHead, FindsTheFirstCanonicalLinkInEverySpelling) {
  const std::string link = "<link rel=\"canonical\" href=\"https://example.org/a b\">";
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {link, "https://example.org/a b"},
      {"<LINK HREF='/x?a=1&amp;b=2' REL=' Canonical '>", "/x?a=1&amp;b=2"},
      {"<link href=x.html rel=\"alternate canonical\"/>", "x.html"},
      {"<link rel=canonical href=\"\">", ""},
      {"<link rel=stylesheet href=s.css><link rel=canonical href=one><link rel=canonical "
       "href=two>",
       "one"},
      {"<link rel=canonical>", std::nullopt},
      {"<link rel=canonicalize href=x>", std::nullopt},
      {"<linkx rel=canonical href=x>", std::nullopt},
      {"<!-- " + link + " -->", std::nullopt},
      {"<body>" + link, std::nullopt},
      {"<link rel=canonical href=\"cut", std::nullopt},
      {AcrossTheFirstRead(link), "https://example.org/a b"},
      {std::string(kHeadSearchBytes - link.size() + 1, ' ') + link, std::nullopt},
  };
  for (const auto& [page, canonical] : cases) {
    EXPECT_EQ(SitemapHead(page).canonical, canonical) << page.substr(0, 80);
  }
  // Whatever comes first, both are found in the one pass.
  const PageHead both = SitemapHead("<meta name=robots content=noindex>" + link);
  EXPECT_TRUE(both.noindex);
  EXPECT_FALSE(SitemapHead(link + "<meta name=robots content=noindex>").canonical->empty());
}

}  // namespace
}  // namespace mapgen
