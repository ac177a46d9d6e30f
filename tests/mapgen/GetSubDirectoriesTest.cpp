#include "GetSubDirectories.h"

#include <gtest/gtest.h>

#include "MemoryFileSystem.h"

namespace mapgen {
namespace {

std::vector<std::string> Paths(const FolderList& folders) {
  std::vector<std::string> paths;
  for (const Folder& folder : folders) paths.push_back(folder.path);
  return paths;
}

class Walk : public testing::TestWithParam<unsigned> {};

TEST_P(Walk, OrdersFullPathsOrdinally) {
  MemoryFileSystem fs;
  for (const char* folder : {"/w/b", "/w/A", "/w/a", "/w/A B", "/w/AB",
                             "/w/A/x", "/w/a/x", "/w/ab"}) {
    fs.AddFolder(folder);
  }
  const BuildObserver observer;
  EXPECT_EQ(Paths(GetSubDirectories(fs, "/w", true, GetParam(), observer)),
            (std::vector<std::string>{"/w", "/w/A", "/w/A B", "/w/A/x",
                                      "/w/AB", "/w/a", "/w/a/x", "/w/ab",
                                      "/w/b"}));
  EXPECT_EQ(Paths(GetSubDirectories(fs, "/w", false, GetParam(), observer)),
            std::vector<std::string>{"/w"});
}

TEST_P(Walk, UnderTheRootAndManyLevelsDeep) {
  MemoryFileSystem fs;
  std::string deep = "/d";
  for (int level = 0; level < 200; ++level) deep += "/n";
  fs.AddFolder(deep);
  fs.AddFolder("/c");
  const BuildObserver observer;
  const FolderList folders = GetSubDirectories(fs, "/", true, GetParam(), observer);
  ASSERT_EQ(folders.size(), 203u);
  EXPECT_EQ(folders[0].path, "/");
  EXPECT_EQ(folders[1].path, "/c");
  EXPECT_EQ(folders.back().path, deep);
}

// With no folder to be held open, every subfolder is opened again by its
// path when its turn comes.
TEST_P(Walk, FoldersPastTheHeldBudgetAreOpenedAgain) {
  MemoryFileSystem fs(0);
  std::vector<std::string> expected = {"/w"};
  for (int i = 10; i < 40; ++i) {
    expected.push_back("/w/f" + std::to_string(i));
    fs.AddFile(expected.back() + "/a.txt");
  }
  const BuildObserver observer;
  const FolderList folders = GetSubDirectories(fs, "/w", true, GetParam(), observer);
  EXPECT_EQ(Paths(folders), expected);
  for (const Folder& folder : folders) EXPECT_EQ(folder.failure, "");
}

INSTANTIATE_TEST_SUITE_P(SerialAndParallel, Walk, testing::Values(1u, 4u));

}  // namespace
}  // namespace mapgen
