// Trees, files and process limits that change or misbehave under a build:
// each case must end in a whole page or a clear failure, never a crash, a
// hang, or a page that silently misses what it should show.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "BuildPage.h"
#include "ChildProcess.h"
#include "FaultInjectingFileSystem.h"
#include "FileTitle.h"
#include "MemoryFileSystem.h"
#include "PosixFileSystem.h"
#include "RecordingObserver.h"
#include "TempFolder.h"
#include "TitleScanner.h"

namespace mapgen {
namespace {

using testing_support::kSanitized;
using testing_support::RunInChild;
using testing_support::TempFolder;
using Call = FaultInjectingFileSystem::Call;
using Outcome = BuildResult::Outcome;
namespace fs = std::filesystem;

BuiltPage Build(const FileSystem& files, const std::string& base, RecordingObserver& recorder,
                unsigned threads = 4, MapSettings settings = {}) {
  settings.txtDir = base;
  return BuildPage(settings, files, recorder, threads);
}

// How a build in a child process ended, as text to hand back.
std::string Ending(const BuiltPage& result) {
  if (result.outcome == Outcome::kBuilt) return result.mapText;
  return "failed: " + result.failure.path + ": " + result.failure.reason;
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
  files.Fail(Call::kOpenFile, "/w/gone.html", ENOENT);
  files.Fail(Call::kRead, "/w/cut.html", EIO);
  files.Fail(Call::kList, "/w/sub", ENOTDIR);
  RecordingObserver recorder;
  // A trailing "/" names the same base folder.
  const BuiltPage result = Build(files, "/w/", recorder);
  ASSERT_EQ(result.outcome, Outcome::kBuilt);
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
  // Opened for the walk and for its titles, then gone.
  files.Fail(Call::kOpenFolder, "/w", ENOENT, 2);
  RecordingObserver recorder;
  EXPECT_EQ(Ending(Build(files, "/w", recorder)), "failed: /w: No such file or directory");
}

// A folder renamed and replaced by a link to a folder outside while the
// build runs: the walk never enters it, and no title is read through it.
TEST(ChangingTree, AFolderSwappedForALinkIsNeverFollowed) {
  const std::pair<int, std::string> cases[] = {
      {0, "Not a directory"},  // before the walk opens it
      {1, kReplacedReason},    // before its titles are read
  };
  for (const auto& [successes, warning] : cases) {
    SCOPED_TRACE(warning);
    TempFolder temp;
    temp.Write("base/sub/in.html", "<title>Inside</title>");
    temp.Write("outside/in.html", "<title>Secret</title>");
    temp.Write("outside/more/out.html", "<title>Secret</title>");
    const std::string sub = temp.path() + "/base/sub";
    const PosixFileSystem posix;
    FaultInjectingFileSystem files(posix);
    files.Before(
        Call::kOpenFolder, sub,
        [&] {
          fs::rename(sub, temp.path() + "/base/.moved");
          fs::create_directory_symlink(temp.path() + "/outside", sub);
        },
        successes);
    RecordingObserver recorder;
    const BuiltPage result = Build(files, temp.path() + "/base", recorder);
    EXPECT_EQ(recorder.warnings, sub + ": " + warning + "\n");
    EXPECT_FALSE(Contains(result.mapText, "Secret"));
    EXPECT_FALSE(Contains(result.mapText, "more"));
  }
}

// A link's file is judged where it is opened: swapped between the listing
// and the reading for one that leads elsewhere, it is not read; swapped the
// other way, or through a long path, it is.
TEST(ChangingTree, ALinkSwappedMidBuildIsReadOnlyInside) {
  TempFolder temp;
  temp.Write("base/in.html", "<title>Inside</title>");
  temp.Write("secret.html", "<title>Secret</title>");
  const std::string base = temp.path() + "/base";
  const std::string link = base + "/link.html";
  const struct {
    std::string before, after;
    std::string title;
  } cases[] = {
      {"in.html", temp.path() + "/secret.html", "No Title  "},
      {"../secret.html", base + "/in.html", "Inside"},
      {"in.html", "../base/../secret.html", "No Title  "},
      {"../secret.html", "../../" + fs::path(temp.path()).filename().string() + "/base/in.html",
       "Inside"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before + " then " + c.after);
    fs::remove(link);
    fs::create_symlink(c.before, link);
    const PosixFileSystem posix;
    FaultInjectingFileSystem files(posix);
    files.Before(Call::kOpenFile, link, [&] {
      fs::remove(link);
      fs::create_symlink(c.after, link);
    });
    RecordingObserver recorder;
    MapSettings settings;
    settings.txtSitemapXml = temp.path() + "/s.xml";
    settings.txtSiteUrl = "https://e.org/";
    const BuiltPage result = Build(files, base, recorder, 4, settings);
    EXPECT_TRUE(Contains(result.mapText, "<a href=link.html>" + c.title + "</a>"));
    EXPECT_FALSE(Contains(result.mapText, "Secret"));
    const bool outside = c.title != "Inside";
    EXPECT_EQ(recorder.warnings, outside ? link + ": " + kLeadsOutsideReason + "\n" : "");
    EXPECT_EQ(Contains(temp.Read("s.xml"), "link.html"), !outside);
  }
}

// Makes links `links` (name, target) in the folder `levels` folders named
// `name` below `top`, each opened from the one above, past the path limit.
void LinkDeep(const std::string& top, const std::string& name, int levels,
              const std::vector<std::pair<std::string, std::string>>& links) {
  int fd = ::open(top.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  for (int level = 0; level < levels; ++level) {
    const int next = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    ::close(fd);
    fd = next;
  }
  for (const auto& [link, target] : links) {
    EXPECT_EQ(::symlinkat(target.c_str(), fd, link.c_str()), 0) << link;
  }
  ::close(fd);
}

TEST(RealTree, LinksDeeperThanThePathLimitAreJudgedByTheirFolders) {
  TempFolder temp;
  temp.Write("secret.html", "<title>Secret</title>");
  const std::string name(250, 'd');
  const std::string deepest = temp.Deep(name, 20, "deep.html", "<title>Deepest</title>");
  ASSERT_GT(deepest.size(), std::size_t{PATH_MAX});
  std::string toTop;
  for (int level = 0; level < 20; ++level) toTop += "../";
  LinkDeep(temp.path(), name, 20,
           {{"in.html", "../" + name + "/deep.html"}, {"out.html", toTop + "secret.html"}});
  for (const bool follow : {false, true}) {
    RecordingObserver recorder;
    MapSettings settings;
    settings.chkFollowOutside = follow;
    const BuiltPage result =
        Build(PosixFileSystem(), temp.path() + "/" + name, recorder, 4, settings);
    ASSERT_EQ(result.outcome, Outcome::kBuilt) << result.failure.reason;
    EXPECT_TRUE(Contains(result.mapText, "in.html>Deepest</a>"));
    EXPECT_EQ(Contains(result.mapText, "out.html>Secret</a>"), follow);
    EXPECT_EQ(recorder.warnings,
              follow ? "" : deepest + "/out.html: " + kLeadsOutsideReason + "\n");
  }
}

TEST(RealTree, UnreadableEntriesCountAsEmptyButAnUnreadableBaseFails) {
  TempFolder temp;
  fs::permissions(temp.path(), fs::perms::all);
  temp.Write("open.html", "<title>Open</title>");
  temp.Write("locked.html", "<title>Secret</title>");
  temp.Write("closed/inside.html");
  fs::permissions(temp.path() + "/locked.html", fs::perms::none);
  fs::permissions(temp.path() + "/closed", fs::perms::none);
  const auto child = RunInChild(
      [&] {
        RecordingObserver recorder;
        const BuiltPage closed = Build(PosixFileSystem(), temp.path() + "/closed", recorder);
        const BuiltPage open = Build(PosixFileSystem(), temp.path(), recorder);
        return Ending(closed) + "\n" + recorder.warnings + open.mapText;
      },
      true);
  if (child.privileged) GTEST_SKIP() << "root reads all, and cannot be nobody";
  ASSERT_TRUE(child.exitedCleanly);
  EXPECT_EQ(child.output.substr(0, child.output.find("<html>")),
            "failed: " + temp.path() + "/closed: Permission denied\n" + temp.path() +
                "/locked.html: Permission denied\n" + temp.path() + "/closed: Permission denied\n");
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
  ASSERT_EQ(::mknod((base + "/device.html").c_str(), S_IFCHR | 0644, makedev(1, 3)), 0);
  const int sock = temp.Socket("base/socket.html");
  fs::create_symlink(base + "/loop", base + "/loop");
  fs::create_symlink(base, base + "/self");
  fs::create_symlink(temp.path(), base + "/up");
  fs::create_symlink(base + "/nothing.html", base + "/dangling.html");
  fs::create_symlink(base + "/page.html", base + "/link.html");
  RecordingObserver recorder;
  const BuiltPage result = Build(PosixFileSystem(), base, recorder);
  ::close(sock);
  ASSERT_EQ(result.outcome, Outcome::kBuilt);
  const std::size_t start = result.mapText.find("</p>\r\n") + 6;
  EXPECT_EQ(result.mapText.substr(start, result.mapText.find("<br><br><br>") - start),
            "<a href=link.html>Real</a><br>\r\n<a href=page.html>Real</a><br>\r\n");
  EXPECT_EQ(recorder.warnings, "");
  // A pipe that takes a page's place after the listing is not opened.
  const auto fifo = PosixFileSystem().OpenFile(base + "/fifo.html");
  ASSERT_FALSE(fifo);
  EXPECT_EQ(fifo.failure().reason, "Not a regular file");
}

// Every folder is opened relative to its parent, so the depth of a tree and
// the length of the base folder's path have no limit: 20 names of 250
// bytes pass the system's limit for one path.
TEST(RealTree, DeeperThanThePathLimitIsListedWithItsTitles) {
  TempFolder temp;
  const std::string name(250, 'd');
  const std::string deepest = temp.Deep(name, 20, "deep.html", "<title>Deepest</title>");
  ASSERT_GT(deepest.size(), std::size_t{PATH_MAX});
  const std::string longBase = deepest.substr(0, deepest.size() - 3 * 251);
  ASSERT_GT(longBase.size(), std::size_t{PATH_MAX});
  for (const std::string& base : {temp.path(), longBase}) {
    RecordingObserver recorder;
    const BuiltPage result = Build(PosixFileSystem(), base, recorder);
    ASSERT_EQ(result.outcome, Outcome::kBuilt) << result.failure.reason;
    EXPECT_EQ(recorder.warnings, "");
    EXPECT_TRUE(Contains(result.mapText, "deep.html>Deepest</a>"));
    const std::string heading = "<b>" + name + "</b>";
    std::size_t headings = 0;
    for (std::size_t at = 0; (at = result.mapText.find(heading, at)) != std::string::npos; ++at) {
      ++headings;
    }
    EXPECT_EQ(headings, (deepest.size() - base.size()) / 251);
  }
}

TEST(RealTree, NamesReachThePageByteForByte) {
  TempFolder temp;
  const std::string names[] = {"bad\xFF\xFE.txt", "line\nbreak.txt", "tab\there.txt",
                               "a<b>&\"c\".txt"};
  for (const std::string& name : names) temp.Write(name);
  RecordingObserver recorder;
  const BuiltPage result = Build(PosixFileSystem(), temp.path(), recorder);
  for (const std::string& name : names) {
    EXPECT_TRUE(Contains(result.mapText, "<a href=" + name + ">" + name + "</a>")) << name;
  }
}

MemoryFileSystem SmallSite() {
  MemoryFileSystem site;
  site.AddFile("/w/index.html", "<title>Home</title>");
  site.AddFile("/w/docs/old/x.html", "<title>Old</title>");
  return site;
}

// Out of descriptors or memory, a build could miss any folder: it fails,
// naming where it ran short, and never passes it off as one unreadable
// entry.
TEST(ProcessLimits, RunningShortAnywhereFailsTheBuild) {
  const struct {
    Call call;
    std::string path;
    int error;
    int successes;
  } cases[] = {
      {Call::kOpenFolder, "/w/docs", EMFILE, 0},
      {Call::kOpenFolder, "/w/docs/old", ENFILE, 1},  // to read its titles
      {Call::kList, "/w/docs/old", ENOMEM, 0},
      {Call::kOpenFile, "/w/index.html", EMFILE, 0},
      {Call::kRead, "/w/docs/old/x.html", ENOMEM, 0},
  };
  const MemoryFileSystem site = SmallSite();
  for (const auto& c : cases) {
    for (unsigned threads : {1u, 8u}) {
      SCOPED_TRACE(c.path + " " + std::to_string(threads));
      FaultInjectingFileSystem files(site);
      files.Fail(c.call, c.path, c.error, c.successes);
      RecordingObserver recorder;
      EXPECT_EQ(Ending(Build(files, "/w", recorder, threads)),
                "failed: " + c.path + ": " + SystemFailure(c.path, c.error).reason);
    }
  }
}

// A low descriptor limit leaves fewer threads; one too low for even one
// fails the build.
TEST(ProcessLimits, RealDescriptorLimitsGiveTheWholePageOrFail) {
  TempFolder temp;
  for (int folder = 0; folder < 30; ++folder) {
    temp.Write("f" + std::to_string(folder) + "/x/p.html", "<title>T</title>");
  }
  RecordingObserver recorder;
  const std::string page = Build(PosixFileSystem(), temp.path(), recorder, 16).mapText;
  for (const int room : {2, 6}) {
    SCOPED_TRACE(room);
    const auto child = RunInChild([&] {
      // With room to spare first, a build that works and one that fails: a
      // sanitizer's first check of a type needs descriptors of its own.
      Build(PosixFileSystem(), temp.path(), recorder, 1);
      Build(PosixFileSystem(), temp.path() + "/none", recorder, 1);
      const int lowest = ::dup(0);
      ::close(lowest);
      const rlimit limit{static_cast<rlim_t>(lowest + room), static_cast<rlim_t>(lowest + room)};
      ::setrlimit(RLIMIT_NOFILE, &limit);
      return Ending(Build(PosixFileSystem(), temp.path(), recorder, 16));
    });
    ASSERT_TRUE(child.exitedCleanly);
    if (room == 6) {
      EXPECT_EQ(child.output, page);
    } else {
      EXPECT_TRUE(child.output.starts_with("failed: " + temp.path() + "/"));
      EXPECT_TRUE(child.output.ends_with(": Too many open files"));
    }
  }
}

TEST(ProcessLimits, ThreadsThatCannotStartLeaveTheSamePage) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs root to become a user with a thread limit of 0";
  }
  TempFolder temp;
  fs::permissions(temp.path(), fs::perms::all);
  temp.Write("index.html", "<title>Home</title>");
  temp.Write("docs/old/x.html", "<title>Old</title>");
  RecordingObserver recorder;
  const std::string page = Build(PosixFileSystem(), temp.path(), recorder, 8).mapText;
  const auto child = RunInChild(
      [&] {
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_NPROC, &none);
        RecordingObserver quiet;
        return Ending(Build(PosixFileSystem(), temp.path(), quiet, 8));
      },
      true);
  EXPECT_TRUE(child.exitedCleanly);
  EXPECT_EQ(child.output, page);
}

class CountingSink : public PageSink {
 public:
  mapgen::Outcome<void> Write(std::string_view text) override {
    bytes += text.size();
    return {};
  }
  std::size_t bytes = 0;
};

// 2,000 hard links to one page with a 60 KB title, in one folder.
class ManyNamesOfOnePage : public testing::Test {
 protected:
  void SetUp() override {
    if (kSanitized) GTEST_SKIP() << "memory is not measurable here";
    const std::string page =
        temp_.Write("page.html", "<title>" + std::string(60000, 'x') + "</title>");
    for (int i = 1; i < 2000; ++i) {
      const std::string name = temp_.path() + "/p" + std::to_string(i) + ".html";
      ASSERT_EQ(::link(page.c_str(), name.c_str()), 0);
    }
  }

  // Measured, the page streams past and is only counted.
  std::string BuildInChild(const std::function<void()>& limit, long* peakKiB = nullptr) const {
    const auto child = RunInChild([&] {
      limit();
      MapSettings settings;
      settings.chkSafeLinks = kChecked;
      RecordingObserver recorder;
      if (peakKiB != nullptr) {
        settings.txtDir = temp_.path();
        CountingSink sink;
        BuildMap(settings, PosixFileSystem(), recorder, sink, {}, 4);
        return std::to_string(sink.bytes);
      }
      const BuiltPage result = Build(PosixFileSystem(), temp_.path(), recorder, 4, settings);
      return result.outcome == Outcome::kBuilt ? std::to_string(result.mapText.size())
                                               : Ending(result);
    });
    EXPECT_TRUE(child.exitedCleanly);
    if (peakKiB != nullptr) *peakKiB = child.peakKiB;
    return child.output;
  }

  TempFolder temp_;
};

TEST_F(ManyNamesOfOnePage, BuildInBoundedMemory) {
  long peakKiB = 0;
  const std::string size = BuildInChild([] {}, &peakKiB);
  EXPECT_GT(std::stoul(size), 2000u * 60000u);
  EXPECT_LT(peakKiB, 64 * 1024);
}

TEST_F(ManyNamesOfOnePage, RunningOutOfMemoryFailsTheBuild) {
  const std::string ending = BuildInChild([] {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t room = pages * ::sysconf(_SC_PAGESIZE) + (48 << 20);
    const rlimit limit{room, room};
    ::setrlimit(RLIMIT_AS, &limit);
  });
  EXPECT_EQ(ending, "failed: " + temp_.path() + ": Cannot allocate memory");
}

std::string TitleOf(const std::string& folder, const std::string& name,
                    const StopCheck& observer = StopCheck()) {
  const auto page = PosixFileSystem().OpenFile(folder + "/" + name);
  return FileTitle(**page, "<TITLE", "</TITLE", observer);
}

// A page is read through one buffer, to its end or to the title's cap,
// never past the size it had when opened, and not at all after a stop.
TEST(PagesOfAnySize, ReadInLittleMemoryUpToTheirSizeWhenOpened) {
  TempFolder temp;
  const std::string noTitle = temp.Write("none.html", std::string(1000, '\n'));
  const std::string unclosed = temp.Write("open.html", "<title>" + std::string(100, 'x'));
  for (const std::string& page : {noTitle, unclosed}) {
    ASSERT_EQ(::truncate(page.c_str(), 400L << 20), 0);
  }
  const auto child = RunInChild([&] {
    return TitleOf(temp.path(), "none.html") + "|" +
           std::to_string(TitleOf(temp.path(), "open.html").size());
  });
  ASSERT_TRUE(child.exitedCleanly);
  EXPECT_EQ(child.output, "|" + std::to_string(kMaxTitleBytes));
  EXPECT_LT(child.peakKiB, 64 * 1024);

  const RecordingObserver stop(3);
  EXPECT_EQ(TitleOf(temp.path(), "none.html", stop), "");
  EXPECT_EQ(stop.Checks(), 4);

  temp.Write("growing.html", "x\r\n");
  const auto page = PosixFileSystem().OpenFile(temp.path() + "/growing.html");
  std::ofstream(temp.path() + "/growing.html", std::ios::app) << "<title>Later</title>";
  EXPECT_EQ(FileTitle(**page, "<TITLE", "</TITLE"), "");
}

}  // namespace
}  // namespace mapgen
