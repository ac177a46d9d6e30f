// Dates from a git work tree's history, on repositories made for the test
// with known commit times.
#include "GitDates.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "GitDatesAhead.h"
#include "PosixFileSystem.h"
#include "TempFolder.h"

namespace mapgen {
namespace {

using testing_support::TempFolder;

// Runs a shell command in `folder`; whether it succeeded.
bool Shell(const std::string& folder, const std::string& command) {
  const std::string line = "cd '" + folder + "' && (" + command + ") >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

// Commits everything at the time `when`.
std::string Commit(long when) {
  const std::string date = "@" + std::to_string(when) + " +0000";
  return "git add -A && GIT_AUTHOR_DATE='" + date + "' GIT_COMMITTER_DATE='" + date +
         "' git -c user.name=t -c user.email=t@t commit -q --allow-empty -m c";
}

// The date `dates` give the file at `path` from `folder`, told its facts
// as a build finds them; none for a name where no file is.
std::optional<std::time_t> DateOf(const GitDates& dates, const std::string& folder,
                                  const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string parent =
      slash == std::string::npos ? folder : folder + "/" + path.substr(0, slash);
  auto opened = PosixFileSystem().OpenFolder(parent);
  if (!opened) return std::nullopt;
  auto facts = (*opened)->Facts(path.substr(slash + 1), nullptr);
  if (!facts) return std::nullopt;
  struct stat info {};
  const bool link = ::lstat((folder + "/" + path).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
  const auto committed = dates.Find(path, *facts, link);
  return committed ? dates.DateOf(*committed, /*wait=*/true) : std::nullopt;
}

// Finds the dates and reads the history at once, as a build's thread
// does one after the other.
Outcome<std::unique_ptr<GitDates>> Load(const std::string& folder, const std::string& git = "git") {
  static const StopCheck never;
  auto dates = GitDates::Start(folder, never, git);
  if (!dates) return dates;
  if (auto read = (*dates)->ReadHistory(); !read) return std::move(read).failure();
  return dates;
}

class GitDatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Shell(temp.path(), "git init -q repo"));
    temp.Write("repo/site/a.html", "a");
    temp.Write("repo/site/docs/b.html", "b");
    temp.Write("repo/site/old name.html", "c");
    temp.Write("repo/site/\nodd", "d");
    temp.Write("repo/outside.txt", "e");
    ASSERT_TRUE(Shell(repo(), Commit(1000000000)));
    temp.Write("repo/site/docs/b.html", "b2");
    ASSERT_TRUE(
        Shell(repo(), "git mv 'site/old name.html' 'site/new name.html' && " + Commit(1100000000)));
    temp.Write("repo/outside.txt", "e2");
    ASSERT_TRUE(Shell(repo(), Commit(1200000000)));
    // A merge names no file of its own.
    ASSERT_TRUE(Shell(repo(), "git checkout -q -b side && " + Commit(1250000000) +
                                  " && git checkout -q - && " + Commit(1260000000) +
                                  " && GIT_COMMITTER_DATE='@1270000000 +0000' git -c "
                                  "user.name=t -c user.email=t@t merge -q --no-edit side"));
    // Changed since, in the work tree, in the index, or not committed.
    temp.Write("repo/site/a.html", "a2");
    temp.Write("repo/site/staged.html", "s");
    temp.Write("repo/site/untracked.html", "u");
    ASSERT_TRUE(Shell(repo(), "git add site/staged.html"));
  }

  std::string repo() const { return temp.path() + "/repo"; }

  TempFolder temp;
};

TEST_F(GitDatesTest, DatesCommittedUnchangedFilesByTheirLastCommit) {
  const auto dates = Load(repo() + "/site");
  ASSERT_TRUE(dates) << dates.failure().reason;
  EXPECT_FALSE((*dates)->shallow());
  const std::pair<const char*, std::optional<std::time_t>> cases[] = {
      {"docs/b.html", 1100000000},
      {"new name.html", 1100000000},
      {"\nodd", 1000000000},
      {"old name.html", std::nullopt},
      {"a.html", std::nullopt},
      {"staged.html", std::nullopt},
      {"untracked.html", std::nullopt},
      {"outside.txt", std::nullopt},
      {"docs", std::nullopt},
  };
  for (const auto& [path, date] : cases) {
    EXPECT_EQ(DateOf(**dates, repo() + "/site", path), date) << path;
  }

  const auto top = Load(repo());
  ASSERT_TRUE(top) << top.failure().reason;
  EXPECT_EQ(DateOf(**top, repo(), "outside.txt"), 1200000000);
  EXPECT_EQ(DateOf(**top, repo(), "site/docs/b.html"), 1100000000);
}

TEST_F(GitDatesTest, WarnsOfAShallowHistory) {
  ASSERT_TRUE(Shell(temp.path(), "git clone -q --depth 1 file://" + repo() + " shallow"));
  const auto dates = Load(temp.path() + "/shallow/site");
  ASSERT_TRUE(dates) << dates.failure().reason;
  EXPECT_TRUE((*dates)->shallow());
  // The one commit there is changed every file, as far as it knows.
  EXPECT_EQ(DateOf(**dates, temp.path() + "/shallow/site", "docs/b.html"), 1270000000);
}

TEST_F(GitDatesTest, FindsEveryOneOfManyFilesReadOnAThreadOfItsOwn) {
  for (int i = 0; i < 500; ++i) temp.Write("repo/site/many/" + std::to_string(i) + ".txt");
  ASSERT_TRUE(Shell(repo(), "git add site/many && " + Commit(1300000000)));
  // Kept by reference while the thread reads.
  const StopCheck never;
  GitDatesAhead ahead(repo() + "/site", never);
  const auto& dates = ahead.Get();
  ASSERT_TRUE(dates) << dates.failure().reason;
  for (int i = 0; i < 500; ++i) {
    EXPECT_EQ(DateOf(**dates, repo() + "/site", "many/" + std::to_string(i) + ".txt"), 1300000000)
        << i;
  }
  EXPECT_EQ(DateOf(**dates, repo() + "/site", "docs/b.html"), 1100000000);

  struct : StopCheck {
    bool StopRequested() const override { return true; }
  } stopped;
  GitDatesAhead stoppedAhead(repo() + "/site", stopped);
  const auto& none = stoppedAhead.Get();
  ASSERT_FALSE(none);
  EXPECT_EQ(none.failure().reason, "stopped");
}

// A file is as committed when git's status says so: the status data that
// the index keeps of it tell, or else its content, whatever form of index
// git wrote, and past the changes that look like none.
TEST_F(GitDatesTest, TellsChangesAsGitStatusDoesInEveryFormOfIndex) {
  temp.Write("repo/site/mode.html", "m");
  temp.Write("repo/site/skip.html", "k");
  temp.Write("repo/site/link.html", "l");
  temp.Write("repo/site/same.html", "l");
  ASSERT_TRUE(Shell(repo(), Commit(1300000000)));
  const std::string changes =
      "touch -d @1500000000 site/docs/b.html \"$(printf 'site/\\nodd')\" && "
      "printf X > 'site/new name.html' && chmod +x site/mode.html && "
      "git update-index --skip-worktree site/skip.html && printf K > site/skip.html && "
      "rm site/link.html && ln -s same.html site/link.html && printf longer > site/a.html && "
      "printf S > site/staged.html && git add site/staged.html";
  for (const std::string form : {"--index-version 3", "--index-version 4", "--split-index"}) {
    SCOPED_TRACE(form);
    const std::string copy = temp.path() + "/copy";
    ASSERT_TRUE(Shell(temp.path(), "rm -rf copy && cp -a repo copy"));
    ASSERT_TRUE(
        Shell(copy, "git update-index -q --refresh; git update-index " + form + " && " + changes));
    const auto dates = Load(copy + "/site");
    ASSERT_TRUE(dates) << dates.failure().reason;
    const std::pair<const char*, std::optional<std::time_t>> cases[] = {
        {"docs/b.html", 1100000000}, {"\nodd", 1000000000},     {"new name.html", std::nullopt},
        {"mode.html", std::nullopt}, {"skip.html", 1300000000}, {"link.html", std::nullopt},
        {"same.html", 1300000000},   {"a.html", std::nullopt},  {"staged.html", std::nullopt},
    };
    for (const auto& [path, date] : cases) {
      EXPECT_EQ(DateOf(**dates, copy + "/site", path), date) << path;
    }
  }
  ASSERT_TRUE(Shell(temp.path() + "/copy", "git config core.fileMode false"));
  const auto modeless = Load(temp.path() + "/copy/site");
  ASSERT_TRUE(modeless) << modeless.failure().reason;
  EXPECT_EQ(DateOf(**modeless, temp.path() + "/copy/site", "mode.html"), 1300000000);
}

// Git reads the files whose status data leave doubt; one that is gone by
// then is not as committed, and the next is read all the same.
TEST_F(GitDatesTest, AFileGoneBeforeGitReadsItIsNotAsCommitted) {
  ASSERT_TRUE(Shell(repo(), "touch -d @1500000000 site/docs/b.html 'site/new name.html'"));
  const auto dates = Load(repo() + "/site");
  ASSERT_TRUE(dates) << dates.failure().reason;
  auto folder = PosixFileSystem().OpenFolder(repo() + "/site/docs");
  ASSERT_TRUE(folder);
  const auto facts = (*folder)->Facts("b.html", nullptr);
  ASSERT_TRUE(facts);
  std::filesystem::remove(repo() + "/site/docs/b.html");
  EXPECT_FALSE((*dates)->Find("docs/b.html", *facts));
  EXPECT_EQ(DateOf(**dates, repo() + "/site", "new name.html"), 1100000000);
}

// Repositories whose objects are named by SHA-256 keep longer ids.
TEST(GitDates, ReadsTheIndexOfASha256Repository) {
  TempFolder temp;
  ASSERT_TRUE(Shell(temp.path(), "git init -q --object-format=sha256 repo"));
  temp.Write("repo/a.html", "a");
  ASSERT_TRUE(Shell(temp.path() + "/repo", Commit(1000000000) + " && touch -d @1500000000 a.html"));
  const auto dates = Load(temp.path() + "/repo");
  ASSERT_TRUE(dates) << dates.failure().reason;
  EXPECT_EQ(DateOf(**dates, temp.path() + "/repo", "a.html"), 1000000000);
}

TEST(GitDates, FailsOutsideAWorkTreeOrWithoutGit) {
  TempFolder temp;
  temp.Write("plain/a.html");
  const auto plain = Load(temp.path() + "/plain");
  ASSERT_FALSE(plain);
  EXPECT_EQ(plain.failure().path, temp.path() + "/plain");
  EXPECT_NE(plain.failure().reason.find("not a git repository"), std::string::npos)
      << plain.failure().reason;

  ASSERT_TRUE(Shell(temp.path(), "git init -q repo"));
  const auto inside = Load(temp.path() + "/repo/.git");
  ASSERT_FALSE(inside);
  EXPECT_EQ(inside.failure().reason, "not in a git work tree");

  // Before the first commit, nothing is committed, staged or not.
  temp.Write("repo/a.html", "a");
  ASSERT_TRUE(Shell(temp.path() + "/repo", "git add a.html"));
  const auto unborn = Load(temp.path() + "/repo");
  ASSERT_TRUE(unborn) << unborn.failure().reason;
  EXPECT_EQ(DateOf(**unborn, temp.path() + "/repo", "a.html"), std::nullopt);

  const auto without = Load(temp.path() + "/repo", "no-such-git-program");
  ASSERT_FALSE(without);
  EXPECT_EQ(without.failure().reason, "cannot run no-such-git-program: No such file or directory");
}

}  // namespace
}  // namespace mapgen
