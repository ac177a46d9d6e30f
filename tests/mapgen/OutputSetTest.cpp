// One build's files are one set: every name checked before the first is
// replaced, each written with its final mode from the start, and a failure
// after the first rename naming what was replaced.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>

#include "BuildMap.h"
#include "FaultInjectingFileSystem.h"
#include "MemoryFileSystem.h"
#include "PosixFileSystem.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;
using Call = FaultInjectingFileSystem::Call;
using Ending = BuildResult::Outcome;
namespace fs = std::filesystem;

mode_t Umask() {
  const mode_t umask = ::umask(0);
  ::umask(umask);
  return umask;
}

// Five pages, and a sitemap of at most two URLs a file: three pieces and
// their index.
MapSettings FivePages(const std::string& base, const std::string& sitemap) {
  MapSettings settings;
  settings.txtDir = base;
  settings.txtSitemapXml = sitemap;
  settings.txtSiteUrl = "https://e.org/";
  return settings;
}

PagePlacement TwoUrlsAFile() {
  PagePlacement placement;
  placement.sitemapLimits.urls = 2;
  return placement;
}

TEST(OutputSet, ARenameThatFailsNamesTheFilesAlreadyReplaced) {
  const std::vector<std::string> set = {"/out/page.html", "/out/s-1.xml", "/out/s-2.xml",
                                        "/out/s-3.xml", "/out/s.xml"};
  for (std::size_t failing = 0; failing < set.size(); ++failing) {
    SCOPED_TRACE(set[failing]);
    MemoryFileSystem memory;
    for (const char* page : {"a", "b", "c", "d", "e"}) {
      memory.AddFile(std::string("/w/") + page + ".html");
    }
    for (const std::string& path : set) memory.AddFile(path, "old");
    FaultInjectingFileSystem files(memory);
    files.Fail(Call::kRename, set[failing], EACCES);
    BuildObserver silent;
    const BuildResult result =
        BuildMapFile(FivePages("/w", "/out/s.xml"), files, silent, set.front(), TwoUrlsAFile());
    EXPECT_EQ(result.outcome, Ending::kNotWritten);
    EXPECT_EQ(result.failure.path, set[failing]);
    std::string replaced;
    for (std::size_t i = 0; i < failing; ++i) {
      replaced += (i == 0 ? "" : ", ") + set[i];
      EXPECT_NE(memory.Content(set[i]), "old") << set[i];
    }
    EXPECT_EQ(result.failure.reason,
              failing == 0 ? "Permission denied"
                           : "Permission denied (already replaced: " + replaced + ")");
    for (std::size_t i = failing; i < set.size(); ++i) {
      EXPECT_EQ(memory.Content(set[i]), "old") << set[i];
    }
    EXPECT_EQ(memory.Names("/out").size(), set.size());
  }
}

TEST(OutputSet, NothingIsReplacedUnlessEveryNameCanBe) {
  TempFolder temp;
  for (const char* page : {"a", "b", "c", "d", "e"}) {
    temp.Write(std::string("w/") + page + ".html", "<title>T</title>");
  }
  const std::string page = temp.Write("out/page.html", "old");
  temp.Write("out/s.xml", "old");
  fs::create_directory(temp.path() + "/out/s-2.xml");
  BuildObserver silent;
  const BuildResult result = BuildMapFile(FivePages(temp.path() + "/w", temp.path() + "/out/s.xml"),
                                          PosixFileSystem(), silent, page, TwoUrlsAFile());
  EXPECT_EQ(result.outcome, Ending::kNotWritten);
  EXPECT_EQ(result.failure.path, temp.path() + "/out/s-2.xml");
  EXPECT_EQ(result.failure.reason, "Is a directory");
  EXPECT_EQ(temp.Read("out/page.html"), "old");
  EXPECT_EQ(temp.Read("out/s.xml"), "old");
  EXPECT_EQ(temp.Entries("out"), (std::vector<std::string>{"page.html", "s-2.xml", "s.xml"}));
}

// A reader who may not read the file a new one replaces can never open the
// new one while it is written: its mode is the old one's from the start.
TEST(OutputSet, NewFilesHaveTheirFinalModeBeforeTheFirstByte) {
  TempFolder temp;
  for (const char* page : {"a", "b", "c", "d", "e"}) {
    temp.Write(std::string("w/") + page + ".html", "<title>T</title>");
  }
  const std::string page = temp.Write("page/page.html", "old");
  ::chmod(page.c_str(), 0600);
  ::chmod(temp.Write("map/s.xml", "old").c_str(), 0640);
  ::chmod(temp.Write("map/s-2.xml", "old").c_str(), 0604);
  const PosixFileSystem posix;
  FaultInjectingFileSystem files(posix);
  // The modes of the hidden files in `folder` as their first write begins.
  std::map<std::string, std::vector<unsigned>> modes;
  std::map<std::string, std::function<void()>> looks;
  for (const std::string folder : {"page", "map"}) {
    const std::string path = temp.path() + "/" + folder;
    looks[folder] = [&, folder, path] {
      for (const auto& entry : fs::directory_iterator(path)) {
        struct stat info;
        if (entry.path().filename().string().starts_with(".") &&
            ::stat(entry.path().c_str(), &info) == 0 && info.st_size == 0) {
          modes[folder].push_back(info.st_mode & 0777);
        }
      }
      files.Before(Call::kWrite, path, looks[folder]);
    };
    files.Before(Call::kWrite, path, looks[folder]);
  }
  BuildObserver silent;
  const BuildResult result = BuildMapFile(FivePages(temp.path() + "/w", temp.path() + "/map/s.xml"),
                                          files, silent, page, TwoUrlsAFile());
  ASSERT_EQ(result.outcome, Ending::kBuilt) << result.failure.reason;
  EXPECT_EQ(modes["page"], (std::vector<unsigned>{0600}));
  // Each sitemap file may become the index or a piece: until it is named,
  // the more careful mode of the two.
  EXPECT_EQ(modes["map"], (std::vector<unsigned>{0640, 0604 & 0640, 0640, 0640}));
  const auto mode = [&](const std::string& path) {
    struct stat info;
    ::stat((temp.path() + "/" + path).c_str(), &info);
    return info.st_mode & 0777;
  };
  EXPECT_EQ(mode("page/page.html"), 0600u);
  EXPECT_EQ(mode("map/s.xml"), 0640u);
  EXPECT_EQ(mode("map/s-2.xml"), 0604u);
  EXPECT_EQ(mode("map/s-1.xml"), 0666 & ~Umask());
}

}  // namespace
}  // namespace mapgen
