// Dates from a git work tree's history, on repositories made for the test
// with known commit times.
#include "GitDates.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "GitDatesAhead.h"
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
  const auto dates = GitDates::Load(repo() + "/site");
  ASSERT_TRUE(dates) << dates.failure().reason;
  EXPECT_FALSE(dates->shallow());
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
  for (const auto& [path, date] : cases) EXPECT_EQ(dates->Find(path), date) << path;

  const auto top = GitDates::Load(repo());
  ASSERT_TRUE(top) << top.failure().reason;
  EXPECT_EQ(top->Find("outside.txt"), 1200000000);
  EXPECT_EQ(top->Find("site/docs/b.html"), 1100000000);
}

TEST_F(GitDatesTest, WarnsOfAShallowHistory) {
  ASSERT_TRUE(Shell(temp.path(), "git clone -q --depth 1 file://" + repo() + " shallow"));
  const auto dates = GitDates::Load(temp.path() + "/shallow/site");
  ASSERT_TRUE(dates) << dates.failure().reason;
  EXPECT_TRUE(dates->shallow());
  // The one commit there is changed every file, as far as it knows.
  EXPECT_EQ(dates->Find("docs/b.html"), 1270000000);
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
    EXPECT_EQ(dates->Find("many/" + std::to_string(i) + ".txt"), 1300000000) << i;
  }
  EXPECT_EQ(dates->Find("many/500.txt"), std::nullopt);
  EXPECT_EQ(dates->Find("docs/b.html"), 1100000000);

  struct : StopCheck {
    bool StopRequested() const override { return true; }
  } stopped;
  const auto none = GitDatesAhead(repo() + "/site", stopped).Get();
  ASSERT_FALSE(none);
  EXPECT_EQ(none.failure().reason, "stopped");
}

TEST(GitDates, FailsOutsideAWorkTreeOrWithoutGit) {
  TempFolder temp;
  temp.Write("plain/a.html");
  const auto plain = GitDates::Load(temp.path() + "/plain");
  ASSERT_FALSE(plain);
  EXPECT_EQ(plain.failure().path, temp.path() + "/plain");
  EXPECT_NE(plain.failure().reason.find("not a git repository"), std::string::npos)
      << plain.failure().reason;

  ASSERT_TRUE(Shell(temp.path(), "git init -q repo"));
  const auto inside = GitDates::Load(temp.path() + "/repo/.git");
  ASSERT_FALSE(inside);
  EXPECT_EQ(inside.failure().reason, "not in a git work tree");

  const auto without = GitDates::Load(temp.path() + "/repo", StopCheck(), "no-such-git-program");
  ASSERT_FALSE(without);
  EXPECT_EQ(without.failure().reason, "cannot run no-such-git-program: No such file or directory");
}

}  // namespace
}  // namespace mapgen
