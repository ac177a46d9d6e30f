// The XML sitemap as a build writes it on disk beside its page: what it
// leaves out, how its files replace an earlier sitemap's, the robots file
// that announces it, and its dates from git.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BuildMap.h"
#include "PosixFileSystem.h"
#include "RecordingObserver.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;

// Builds "site" below `temp` into site/sitemap.html with the sitemap
// site/sitemap.xml and the settings `more` changed.
BuildResult Build(const TempFolder& temp, RecordingObserver& recorder,
                  const std::function<void(MapSettings&)>& more = {},
                  PagePlacement placement = {}) {
  MapSettings settings;
  settings.txtDir = temp.path() + "/site";
  settings.txtSitemapXml = "sitemap.xml";
  settings.txtSiteUrl = "https://ex.org/";
  if (more) more(settings);
  return BuildMapFile(settings, PosixFileSystem(), recorder, settings.txtDir + "/sitemap.html",
                      placement);
}

bool Lists(const std::string& sitemap, const std::string& path) {
  return sitemap.find("<loc>https://ex.org/" + path + "</loc>") != std::string::npos;
}

std::string FileId(const std::string& path) {
  struct stat status {};
  ::lstat(path.c_str(), &status);
  return std::to_string(status.st_ino) + "." + std::to_string(status.st_mtim.tv_nsec);
}

TEST(SitemapBuild, LeavesOutPagesThatAreNotToBeIndexedOrAreCopies) {
  TempFolder temp;
  const struct {
    const char* name;
    std::string head;
    bool listed;
  } pages[] = {
      {"plain.html", "<title>P</title>", true},
      {"self.html", "<link rel=canonical href=self.html>", true},
      {"dir/index.html", "<link href='https://EX.org:443/dir/' rel=\"Canonical\">", true},
      {"copy.html", "<link rel=canonical href=/plain.html>", false},
      {"elsewhere.html", "<link rel=canonical href=https://other.org/self.html>", false},
      {"old-scheme.html", "<link rel=canonical href=http://ex.org/old-scheme.html>", true},
      {"bing.html", "<meta name=BINGBOT content='nofollow, noindex'>", false},
      {"google.html", "<meta content=noindex name=googlebot>", false},
      {"late.html", std::string(70000, ' ') + "<meta name=robots content=noindex>", true},
  };
  for (const auto& page : pages) temp.Write(std::string("site/") + page.name, page.head);
  RecordingObserver recorder;
  const BuildResult result = Build(temp, recorder);
  ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt) << result.failure.reason;
  const std::string sitemap = temp.Read("site/sitemap.xml");
  for (const auto& page : pages) {
    const std::string name = page.name;
    const std::string url = name.ends_with("index.html") ? name.substr(0, name.size() - 10) : name;
    EXPECT_EQ(Lists(sitemap, url), page.listed) << name;
  }
  EXPECT_EQ(result.sitemapUrls, 5u);
  // One warning for the pages that name the other scheme.
  EXPECT_EQ(recorder.warnings,
            "warning: the canonical link of 1 page differs from its URL only in http against "
            "https: the site URL (--site-url) may want the other scheme\n");
}

TEST(SitemapBuild, ASitemapWithNoUrlReplacesNothing) {
  TempFolder temp;
  temp.Write("site/sitemap.html", "old page");
  temp.Write("site/sitemap.xml", "old sitemap");
  temp.Write("site/only.html", "<meta name=robots content=noindex>");
  RecordingObserver recorder;
  const BuildResult result =
      Build(temp, recorder, [](MapSettings& s) { s.txtExclude = "sitemap.*"; });
  EXPECT_EQ(result.outcome, BuildResult::Outcome::kNotWritten);
  EXPECT_EQ(result.failure.path, temp.path() + "/site/sitemap.xml");
  EXPECT_EQ(result.failure.reason,
            "the XML sitemap would list no URL, and a sitemap cannot be empty");
  EXPECT_EQ(temp.Read("site/sitemap.html"), "old page");
  EXPECT_EQ(temp.Read("site/sitemap.xml"), "old sitemap");
  EXPECT_EQ(temp.Entries("site"),
            (std::vector<std::string>{"only.html", "sitemap.html", "sitemap.xml"}));
}

TEST(SitemapBuild, RemovesOnlyThePiecesTheReplacedIndexNamed) {
  for (const std::string name : {"sitemap.xml", "sitemap.xml.gz"}) {
    SCOPED_TRACE(name);
    TempFolder temp;
    for (const char* file : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
      temp.Write(std::string("site/") + file);
    }
    const auto named = [&](MapSettings& s) { s.txtSitemapXml = name; };
    PagePlacement small;
    small.sitemapLimits.urls = 2;
    RecordingObserver recorder;
    ASSERT_EQ(Build(temp, recorder, named, small).outcome, BuildResult::Outcome::kBuilt);
    // Pieces of four files: one more than the index names, and a piece of
    // another sitemap.
    const std::string piece4 = SitemapPartName(name, 4);
    temp.Write("site/" + piece4, "not named");
    temp.Write("site/other-1.xml", "another sitemap's");
    ASSERT_TRUE(std::filesystem::exists(temp.path() + "/site/" + SitemapPartName(name, 3)));

    ASSERT_EQ(Build(temp, recorder, named).outcome, BuildResult::Outcome::kBuilt);
    EXPECT_EQ(recorder.warnings, "");
    EXPECT_EQ(temp.Entries("site"),
              (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "other-1.xml",
                                        piece4, "sitemap.html", name}));
  }
}

TEST(SitemapBuild, TheRobotsFileNamesTheSitemapKeepingEveryOtherByte) {
  const std::string line = "Sitemap: https://ex.org/sitemap.xml";
  const struct {
    const char* what;
    std::string before;  // empty: no file
    std::string after;
  } cases[] = {
      {"created", "", line + "\n"},
      {"added", "User-agent: *\nDisallow: /tmp", "User-agent: *\nDisallow: /tmp\n" + line + "\n"},
      {"added with CRLF", "\xEF\xBB\xBFUser-agent: *\r\nDisallow:\r\n",
       "\xEF\xBB\xBFUser-agent: *\r\nDisallow:\r\n" + line + "\r\n"},
      {"there already", "sitemap:\thttps://ex.org/sitemap.xml # ours\n",
       "sitemap:\thttps://ex.org/sitemap.xml # ours\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder temp;
    temp.Write("site/a.txt");
    if (!c.before.empty()) temp.Write("site/robots.txt", c.before);
    const std::string before = FileId(temp.path() + "/site/robots.txt");
    RecordingObserver recorder;
    const auto robots = [](MapSettings& s) { s.txtRobotsTxt = "robots.txt"; };
    ASSERT_EQ(Build(temp, recorder, robots).outcome, BuildResult::Outcome::kBuilt);
    EXPECT_EQ(temp.Read("site/robots.txt"), c.after);
    EXPECT_EQ(FileId(temp.path() + "/site/robots.txt") == before, c.before == c.after);
    EXPECT_EQ(recorder.warnings, "");
  }
  // A link at its name counts as none, and is replaced, never followed.
  TempFolder temp;
  temp.Write("site/a.txt");
  temp.Write("elsewhere.txt", "User-agent: *\n");
  std::filesystem::create_symlink(temp.path() + "/elsewhere.txt", temp.path() + "/site/robots.txt");
  RecordingObserver recorder;
  const auto below = [](MapSettings& s) {
    s.txtRobotsTxt = "robots.txt";
    s.txtExclude = "robots.txt";
    s.txtSiteUrl = "https://ex.org/docs/";
  };
  ASSERT_EQ(Build(temp, recorder, below).outcome, BuildResult::Outcome::kBuilt);
  EXPECT_EQ(temp.Read("site/robots.txt"), "Sitemap: https://ex.org/docs/sitemap.xml\n");
  EXPECT_EQ(temp.Read("elsewhere.txt"), "User-agent: *\n");
  EXPECT_EQ(recorder.warnings,
            "warning: crawlers read robots.txt only at a host's root, and the site URL "
            "https://ex.org/docs/ lies below it\n");
}

// Runs a shell command in `folder`; whether it succeeded.
bool Shell(const std::string& folder, const std::string& command) {
  const std::string line = "cd '" + folder + "' && (" + command + ") >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

std::string CommitAt(const std::string& when) {
  return "git add -A && GIT_AUTHOR_DATE='" + when + " +0000' GIT_COMMITTER_DATE='" + when +
         " +0000' git -c user.name=t -c user.email=t@t commit -q -m c";
}

TEST(SitemapBuild, GitDatesCommittedUnchangedFilesAndFileTimesTheRest) {
  TempFolder temp;
  temp.Write("site/kept.html");
  temp.Write("site/sub/old.txt");
  temp.Write("site/edited.txt");
  const std::string site = temp.path() + "/site";
  ASSERT_TRUE(Shell(site, "git init -q && " + CommitAt("@1600000000")));
  ASSERT_TRUE(Shell(site, "git mv sub/old.txt sub/new.txt && " + CommitAt("@1700000000")));
  temp.Write("site/edited.txt", "changed");
  temp.Write("site/untracked.txt");
  const auto git = [](MapSettings& s) { s.cmbLastmod = "git"; };
  RecordingObserver recorder;
  ASSERT_EQ(Build(temp, recorder, git).outcome, BuildResult::Outcome::kBuilt);
  const std::string sitemap = temp.Read("site/sitemap.xml");
  const auto Dated = [&](const std::string& path, const std::string& when) {
    return sitemap.find("https://ex.org/" + path + "</loc><lastmod>" + when) != std::string::npos;
  };
  EXPECT_TRUE(Dated("kept.html", "2020-09-13T12:26:40Z")) << sitemap;
  EXPECT_TRUE(Dated("sub/new.txt", "2023-11-14T22:13:20Z")) << sitemap;
  // Later than any commit: their own times.
  EXPECT_FALSE(Dated("edited.txt", "2020-09-13")) << sitemap;
  EXPECT_TRUE(Lists(sitemap, "untracked.txt"));
  EXPECT_EQ(recorder.warnings, "");

  // No work tree: nothing is written.
  std::filesystem::remove_all(site + "/.git");
  const BuildResult outside = Build(temp, recorder, git);
  EXPECT_EQ(outside.outcome, BuildResult::Outcome::kFailed);
  EXPECT_EQ(outside.failure.path, site);
  EXPECT_EQ(temp.Read("site/sitemap.xml"), sitemap);
}

// The page is written while git reads the history; a URL whose date it
// has yet to give waits for it, in page order, whatever comes first.
TEST(SitemapBuild, GitDatesEveryFileOfAHistoryReadWhileThePageIsWritten) {
  TempFolder temp;
  const std::string site = temp.path() + "/site";
  std::filesystem::create_directories(site);
  constexpr int kFolders = 40;
  ASSERT_TRUE(Shell(site, "git init -q && i=1 && while [ $i -le " + std::to_string(kFolders) +
                              " ]; do mkdir f$i && for n in 1 2 3 4 5 6 7 8; do echo $n > "
                              "f$i/$n.html; done && d=\"@$((1600000000 + i * 86400)) +0000\" && "
                              "git add f$i && GIT_AUTHOR_DATE=$d GIT_COMMITTER_DATE=$d git -c "
                              "user.name=t -c user.email=t@t commit -q -m c || exit 1; "
                              "i=$((i + 1)); done"));
  RecordingObserver recorder;
  ASSERT_EQ(Build(temp, recorder, [](MapSettings& s) { s.cmbLastmod = "git"; }).outcome,
            BuildResult::Outcome::kBuilt);
  const std::string sitemap = temp.Read("site/sitemap.xml");
  for (int i = 1; i <= kFolders; ++i) {
    const std::time_t when = 1600000000 + i * 86400;
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&when));
    for (int n = 1; n <= 8; ++n) {
      const std::string url = "f" + std::to_string(i) + "/" + std::to_string(n) + ".html";
      EXPECT_NE(sitemap.find(url + "</loc><lastmod>" + date + "</lastmod></url>\n"),
                std::string::npos)
          << url;
    }
  }
}

}  // namespace
}  // namespace mapgen
