// Where and how a page is written: only at the path asked for, whole or not
// at all, never through a link, never waiting for a pipe to be read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "ChildProcess.h"
#include "MapFileWriter.h"
#include "OpenAt.h"
#include "PosixFileSystem.h"
#include "ReadWholeFile.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::RunInChild;
using testing_support::TempFolder;
namespace fs = std::filesystem;

bool Write(const OutputTarget& target, std::string_view text, std::string& reason) {
  const auto written = WriteMapFile(PosixFileSystem(), target, text);
  if (!written) reason = written.failure().reason;
  return bool(written);
}

mode_t NewFileMode() {
  const mode_t umask = ::umask(0);
  ::umask(umask);
  return 0666 & ~umask;
}

TEST(WriteMapFile, ReplacesThePageKeepingItsModeAndOwner) {
  TempFolder temp;
  const std::string page = temp.Write("sitemap.html", "old");
  ::chmod(page.c_str(), 0640);
  // Root replacing a user's page leaves it the user's.
  const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
  const gid_t group = ::geteuid() == 0 ? 65534 : ::getegid();
  ASSERT_EQ(::chown(page.c_str(), owner, group), 0);
  std::string reason;
  ASSERT_TRUE(Write(page, "new page", reason)) << reason;
  EXPECT_EQ(temp.Read("sitemap.html"), "new page");
  struct stat info;
  ::stat(page.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_uid, owner);
  EXPECT_EQ(info.st_gid, group);
  EXPECT_EQ(temp.Entries("").size(), 1u);
}

TEST(WriteMapFile, ReplacesALinkInsteadOfWritingThroughIt) {
  TempFolder temp;
  const std::string target = temp.Write("elsewhere/keep.html", "keep");
  ::chmod(target.c_str(), 0600);
  for (const std::string name : {"sitemap.html", "sitemap.tmp", "dangling"}) {
    SCOPED_TRACE(name);
    const std::string link = temp.path() + "/" + name;
    fs::create_symlink(name == "dangling" ? temp.path() + "/nothing" : target, link);
    std::string reason;
    ASSERT_TRUE(Write(link, "new", reason)) << reason;
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(temp.Read(name), "new");
    struct stat info;
    ::stat(link.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, NewFileMode());
  }
  EXPECT_EQ(temp.Read("elsewhere/keep.html"), "keep");
  EXPECT_FALSE(fs::exists(temp.path() + "/nothing"));
}

// A descriptor is written as it was opened; /dev/fd/N without one is a
// path like any other, as the window takes every name.
TEST(WriteMapFile, WritesTheProcesssOwnDescriptorAsItWasOpened) {
  TempFolder temp;
  const std::string log = temp.Write("log", "before\n");
  const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  std::string reason;
  ASSERT_TRUE(Write({"the log", fd}, "page\n", reason)) << reason;
  ::close(fd);
  EXPECT_EQ(temp.Read("log"), "before\npage\n");
  EXPECT_FALSE(Write({"the log", fd}, "x", reason));
  EXPECT_EQ(reason, "Bad file descriptor");
  const std::string named = "/dev/fd/" + std::to_string(fd);
  EXPECT_FALSE(Write(named, "x", reason));
  EXPECT_NE(reason, "Bad file descriptor");
}

TEST(WriteMapFile, WritesPipesAndDevicesAsStreamsAndNeverWaits) {
  TempFolder temp;
  const std::string pipe = temp.path() + "/pipe.html";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const int sock = temp.Socket("socket.html");
  const std::pair<std::string, std::string> failures[] = {
      {pipe, "No such device or address (nothing reads from the pipe)"},
      {"/dev/full", "No space left on device"},
      {temp.path(), "Is a directory"},
      {temp.path() + "/", "Is a directory"},
      {temp.path() + "/missing/sitemap.html", "No such file or directory"},
  };
  for (const auto& [path, expected] : failures) {
    std::string reason;
    EXPECT_FALSE(Write(path, "x", reason)) << path;
    EXPECT_EQ(reason, expected) << path;
  }
  // A socket takes nothing as a stream: it is replaced as a link would be.
  std::string reason;
  ASSERT_TRUE(Write(temp.path() + "/socket.html", "page", reason)) << reason;
  EXPECT_EQ(temp.Read("socket.html"), "page");
  ::close(sock);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_TRUE(Write(pipe, "page", reason)) << reason;
  char got[8] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 4);
  ::close(reader);
  EXPECT_EQ(std::string(got), "page");
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_EQ(temp.Entries("").size(), 2u);
}

TEST(WriteMapFile, LeavesPagesAndFoldersTheUserMayNotWrite) {
  TempFolder temp;
  fs::permissions(temp.path(), fs::perms::all);
  const std::string locked = temp.Write("open/locked.html", "old");
  const std::string page = temp.Write("shut/page.html", "old");
  fs::permissions(temp.path() + "/open", fs::perms::all);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::others_read);
  fs::permissions(page, fs::perms::all);
  fs::permissions(temp.path() + "/shut",
                  fs::perms::all & ~(fs::perms::group_write | fs::perms::others_write));
  const auto child = RunInChild(
      [&] {
        std::string reasons;
        for (const std::string& path : {locked, page}) {
          std::string reason;
          if (!Write(path, "new", reason)) reasons += reason + "\n";
        }
        return reasons;
      },
      true);
  if (child.privileged) GTEST_SKIP() << "root writes all, and cannot be nobody";
  EXPECT_EQ(child.output, "Permission denied\ncannot create a file in " + temp.path() +
                              "/shut: Permission denied\n");
  EXPECT_EQ(temp.Read("open/locked.html"), "old");
  EXPECT_EQ(temp.Read("shut/page.html"), "old");
  EXPECT_EQ(temp.Entries("open").size(), 1u);
}

TEST(WriteMapFile, PathsLongerThanTheLimitWork) {
  TempFolder temp;
  const std::string deep = temp.Deep(std::string(250, 'd'), 20, "old.html", "");
  ASSERT_GT(deep.size(), 4096u);
  std::string reason;
  ASSERT_TRUE(Write(deep + "/sitemap.html", "page", reason)) << reason;
  const auto page = ReadWholeFile(deep + "/sitemap.html");
  ASSERT_TRUE(page) << page.failure().reason;
  EXPECT_EQ(*page, "page");
}

}  // namespace
}  // namespace mapgen
