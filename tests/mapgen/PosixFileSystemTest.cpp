#include "PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "MapFile.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;
namespace fs = std::filesystem;

TEST(PosixFileSystem, RefusesToOpenAPipeNamedLikeAPage) {
  TempFolder temp;
  const std::string fifo = temp.path() + "/x.html";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::string reason;
  EXPECT_EQ(PosixFileSystem().OpenFile(fifo, reason), nullptr);
  EXPECT_EQ(reason, "Not a regular file");
}

TEST(WriteMapFile, ReplacesTheFileAndKeepsItsPermissions) {
  TempFolder temp;
  const std::string page = temp.Write("sitemap.html", "old");
  ::chmod(page.c_str(), 0640);
  std::string reason;
  ASSERT_TRUE(WriteMapFile(page, "new page", reason)) << reason;
  EXPECT_EQ(temp.Read("sitemap.html"), "new page");
  struct stat info;
  ::stat(page.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.path()),
                          fs::directory_iterator()),
            1);
}

TEST(WriteMapFile, WritesThroughALinkToThePage) {
  TempFolder temp;
  const std::string target = temp.Write("real.html", "old");
  fs::create_symlink(target, temp.path() + "/sitemap.html");
  std::string reason;
  ASSERT_TRUE(WriteMapFile(temp.path() + "/sitemap.html", "new", reason));
  EXPECT_TRUE(fs::is_symlink(temp.path() + "/sitemap.html"));
  EXPECT_EQ(temp.Read("real.html"), "new");
}

TEST(WriteMapFile, FailureLeavesNothingAndNamesTheReason) {
  TempFolder temp;
  std::string reason;
  EXPECT_FALSE(WriteMapFile(temp.path() + "/missing/sitemap.html", "x", reason));
  EXPECT_EQ(reason, "No such file or directory");
  EXPECT_FALSE(WriteMapFile("/dev/full", "x", reason));
  EXPECT_EQ(reason, "No space left on device");
  EXPECT_FALSE(WriteMapFile(temp.path(), "x", reason));
  EXPECT_EQ(reason, "Is a directory");
}

}  // namespace
}  // namespace mapgen
