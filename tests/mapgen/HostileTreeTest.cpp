// Trees, files and disks that change or misbehave under a build: each case
// must end in a whole page, or a clear failure, never a crash or a hang.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

#include "BuildMap.h"
#include "ChildProcess.h"
#include "FaultInjectingFileSystem.h"
#include "FileTitle.h"
#include "MemoryFileSystem.h"
#include "PosixFileSystem.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::RunInChild;
using testing_support::TempFolder;
using Call = FaultInjectingFileSystem::Call;
namespace fs = std::filesystem;

class Recorder : public BuildObserver {
 public:
  void Unreadable(const Failure& failure) override {
    warnings += failure.path + ": " + failure.reason + "\n";
  }
  std::string warnings;
};

BuildResult Build(const FileSystem& files, const std::string& base,
                  Recorder& recorder, unsigned threads = 4) {
  MapSettings settings;
  settings.txtDir = base;
  return BuildMap(settings, files, recorder, threads);
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ChangingTree, EntriesRemovedBetweenListingAndReading) {
  MemoryFileSystem memory;
  memory.AddFile("/w/gone.html", "<title>Was here</title>");
  memory.AddFile("/w/cut.html", "<title>Cut</title>");
  memory.AddFile("/w/sub/a.txt");
  FaultInjectingFileSystem files(memory);
  files.Fail(Call::kOpenFile, "/w/gone.html", "No such file or directory");
  files.Fail(Call::kRead, "/w/cut.html", "Input/output error");
  files.Fail(Call::kListFolder, "/w/sub", "Not a directory");
  Recorder recorder;
  // A trailing "/" names the same base folder.
  const BuildResult result = Build(files, "/w/", recorder);
  ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt);
  EXPECT_TRUE(Contains(result.mapText, "<a href=gone.html>No Title  </a>"));
  EXPECT_TRUE(Contains(result.mapText, "<a href=cut.html>No Title  </a>"));
  EXPECT_TRUE(Contains(result.mapText, "<b>sub</b></font><br><br>\r\n</UL>"));
  EXPECT_EQ(recorder.warnings,
            "/w/cut.html: Input/output error\n"
            "/w/gone.html: No such file or directory\n"
            "/w/sub: Not a directory\n");
}

TEST(ChangingTree, BaseFolderVanishingFailsTheBuild) {
  MemoryFileSystem memory;
  memory.AddFile("/w/a.html");
  FaultInjectingFileSystem files(memory);
  files.Fail(Call::kIsFolder, "/w", "No such file or directory", 1);
  Recorder recorder;
  const BuildResult result = Build(files, "/w", recorder);
  EXPECT_EQ(result.outcome, BuildResult::Outcome::kFailed);
  EXPECT_EQ(result.failure.path, "/w");
  EXPECT_EQ(result.failure.reason, "No such file or directory");
  EXPECT_TRUE(result.mapText.empty());
}

TEST(RealTree, UnreadableFolderAndPageCountAsEmptyForAnUnprivilegedUser) {
  TempFolder temp;
  fs::permissions(temp.path(), fs::perms::all);
  temp.Write("open.html", "<title>Open</title>");
  temp.Write("locked.html", "<title>Secret</title>");
  temp.Write("closed/inside.html");
  fs::permissions(temp.path() + "/locked.html", fs::perms::none);
  fs::permissions(temp.path() + "/closed", fs::perms::none);
  const auto child = RunInChild(
      [&] {
        Recorder recorder;
        const BuildResult result = Build(PosixFileSystem(), temp.path(), recorder);
        return recorder.warnings + result.mapText;
      },
      true);
  ASSERT_TRUE(child.exitedCleanly);
  EXPECT_EQ(child.output.substr(0, child.output.find("<html>")),
            temp.path() + "/locked.html: Permission denied\n" + temp.path() +
                "/closed: Permission denied\n");
  EXPECT_TRUE(Contains(child.output, "<a href=locked.html>No Title  </a>"));
  EXPECT_TRUE(Contains(child.output, "<a href=open.html>Open</a>"));
  EXPECT_FALSE(Contains(child.output, "inside.html"));
}

TEST(RealTree, OnlyRealFoldersAndFilesAreListedAndWalked) {
  TempFolder temp;
  temp.Write("base/page.html", "<title>Real</title>");
  temp.Write("base/.hidden.html");
  temp.Write("base/.git/x.html");
  const std::string base = temp.path() + "/base";
  ASSERT_EQ(::mkfifo((base + "/fifo.html").c_str(), 0644), 0);
  ASSERT_EQ(::mknod((base + "/device.html").c_str(), S_IFCHR | 0644,
                    makedev(1, 3)), 0);
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  (base + "/socket.html").copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  fs::create_symlink(base + "/loop", base + "/loop");
  fs::create_symlink(base, base + "/self");
  fs::create_symlink(temp.path(), base + "/up");
  fs::create_symlink(base + "/nothing.html", base + "/dangling.html");
  fs::create_symlink(base + "/page.html", base + "/link.html");
  Recorder recorder;
  const BuildResult result = Build(PosixFileSystem(), base, recorder);
  ::close(sock);
  ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt);
  const std::size_t start = result.mapText.find("</p>\r\n") + 6;
  EXPECT_EQ(result.mapText.substr(start, result.mapText.find("<br><br><br>") - start),
            "<a href=link.html>Real</a><br>\r\n<a href=page.html>Real</a><br>\r\n");
  EXPECT_EQ(recorder.warnings, "");
}

TEST(RealTree, DeeperThanThePathLimitIsSkippedWithAWarning) {
  TempFolder temp;
  const int root = ::open(temp.path().c_str(), O_RDONLY | O_DIRECTORY);
  int fd = ::dup(root);
  for (int level = 0; level < 2000; ++level) {
    ASSERT_EQ(::mkdirat(fd, "dd", 0755), 0);
    const int next = ::openat(fd, "dd", O_RDONLY | O_DIRECTORY);
    ::close(fd);
    fd = next;
  }
  ::close(fd);
  ::close(root);
  Recorder recorder;
  const BuildResult result = Build(PosixFileSystem(), temp.path(), recorder);
  ASSERT_EQ(result.outcome, BuildResult::Outcome::kBuilt);
  EXPECT_TRUE(Contains(recorder.warnings, ": File name too long\n"));
  EXPECT_EQ(recorder.warnings.find('\n'), recorder.warnings.size() - 1);
}

TEST(RealTree, NamesReachThePageByteForByte) {
  TempFolder temp;
  const std::string names[] = {"bad\xFF\xFE.txt", "line\nbreak.txt",
                               "tab\there.txt", "a<b>&\"c\".txt"};
  for (const std::string& name : names) temp.Write(name);
  Recorder recorder;
  const BuildResult result = Build(PosixFileSystem(), temp.path(), recorder);
  for (const std::string& name : names) {
    EXPECT_TRUE(Contains(result.mapText, "<a href=" + name + ">" + name + "</a>"))
        << name;
  }
}

TEST(RealTree, HugePagesAreReadInLittleMemory) {
  TempFolder temp;
  const std::string noTitle = temp.Write("none.html", std::string(1000, '\n'));
  const std::string unclosed = temp.Write("open.html", "<title>" + std::string(100, 'x'));
  for (const std::string& page : {noTitle, unclosed}) {
    ASSERT_EQ(::truncate(page.c_str(), 400L << 20), 0);
  }
  const auto child = RunInChild([&] {
    const PosixFileSystem files;
    return FileTitle(files, temp.path(), "none.html", "<TITLE", "</TITLE") + "|" +
           std::to_string(
               FileTitle(files, temp.path(), "open.html", "<TITLE", "</TITLE").size());
  });
  ASSERT_TRUE(child.exitedCleanly);
  EXPECT_EQ(child.output, "|" + std::to_string(kMaxTitleBytes));
  EXPECT_LT(child.peakKiB, 64 * 1024);
}

}  // namespace
}  // namespace mapgen
