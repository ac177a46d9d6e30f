#include "PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "BuildMap.h"
#include "MapFile.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;
namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PosixFileSystem, ListsRealFoldersAndFilesOnly) {
  TempFolder temp;
  temp.Write("page.html");
  temp.Write(".hidden.html");
  temp.Write("sub/inner.txt");
  fs::create_directory(temp.path() + "/.git");
  fs::create_symlink(temp.path() + "/sub", temp.path() + "/link-to-folder");
  fs::create_symlink(temp.path() + "/page.html", temp.path() + "/link.html");
  fs::create_symlink(temp.path() + "/missing", temp.path() + "/dangling.html");
  fs::create_symlink(temp.path() + "/loop.html", temp.path() + "/loop.html");
  ASSERT_EQ(::mkfifo((temp.path() + "/fifo.html").c_str(), 0644), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketPath = temp.path() + "/socket.html";
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  FolderListing listing;
  std::string reason;
  ASSERT_TRUE(PosixFileSystem().ListFolder(temp.path(), listing, reason));
  ::close(sock);
  EXPECT_EQ(listing.subfolders, std::vector<std::string>{"sub"});
  EXPECT_EQ(Sorted(listing.files),
            (std::vector<std::string>{"link.html", "page.html"}));
}

TEST(PosixFileSystem, RefusesToOpenAPipeNamedLikeAPage) {
  TempFolder temp;
  const std::string fifo = temp.path() + "/x.html";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  std::string reason;
  EXPECT_EQ(PosixFileSystem().OpenFile(fifo, reason), nullptr);
  EXPECT_EQ(reason, "Not a regular file");
}

TEST(PosixFileSystem, BuildsARealTreeTheSameOnAnyThreadCount) {
  TempFolder temp;
  temp.Write("index.html", "<title>Start</title>");
  temp.Write("b/c/deep.htm", "<title>Deep</title>");
  temp.Write("a/notes.txt");
  MapSettings settings;
  settings.txtDir = temp.path();
  BuildObserver observer;
  const std::string serial =
      BuildMap(settings, PosixFileSystem(), observer, 1).mapText;
  EXPECT_EQ(BuildMap(settings, PosixFileSystem(), observer, 16).mapText, serial);
  EXPECT_NE(serial.find("<a href=b/c/deep.htm>Deep</a>"), std::string::npos);
  EXPECT_LT(serial.find("notes.txt"), serial.find("deep.htm"));
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
