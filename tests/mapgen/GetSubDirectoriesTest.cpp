#include "GetSubDirectories.h"

#include <gtest/gtest.h>

#include "MemoryFileSystem.h"
#include "TreeOrder.h"

namespace mapgen {
namespace {

class Walk : public testing::TestWithParam<unsigned> {};

// Full paths in ordinal order (a blank before the separator, capitals
// before small letters), at any depth, under the root too; with no folder
// held open for its subfolders, each is opened again by its path.
TEST_P(Walk, OrdersFullPathsOrdinallyAtAnyDepth) {
  std::vector<std::string> expected = {"/", "/d"};
  for (int level = 0; level < 200; ++level) {
    expected.push_back(expected.back() + "/n");
  }
  for (const char* folder :
       {"/w", "/w/A", "/w/A B", "/w/A/x", "/w/AB", "/w/a", "/w/a/x", "/w/ab", "/w/b"}) {
    expected.push_back(folder);
  }
  for (const std::size_t budget : {16u, 0u}) {
    SCOPED_TRACE(budget);
    MemoryFileSystem fs(budget);
    for (auto folder = expected.rbegin(); folder != expected.rend(); ++folder) {
      fs.AddFolder(*folder);
    }
    std::vector<std::string> paths;
    const auto folders = GetSubDirectories(fs, "/", {.all = true, .threads = GetParam()});
    ASSERT_TRUE(folders);
    for (const Folder& folder : *folders) {
      paths.push_back(folder.path);
      EXPECT_FALSE(folder.unreadable);
    }
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(GetSubDirectories(fs, "/", {.all = false, .threads = GetParam()})->size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(SerialAndParallel, Walk, testing::Values(1u, 4u));

// A nested page needs each folder's subfolders straight after it: names
// that sort before the separator ("A B", "a-b", "a.b") come after the
// folders inside "A" and "a", not between; names compare ordinally, bytes
// that are no UTF-8 last.
TEST(TreeOrder, PutsEachFolderBeforeItsSiblingsAfterAllBelowIt) {
  const std::vector<std::string> expected = {
      "/",      "/w",     "/w/A",   "/w/A/x", "/w/A/x/y", "/w/A B",      "/w/AB",   "/w/a",
      "/w/a/x", "/w/a-b", "/w/a.b", "/w/ab",  "/w/b",     "/w/\xC3\xA9", "/w/\xFF", "/x"};
  FolderList folders;
  for (auto path = expected.rbegin(); path != expected.rend(); ++path) {
    folders.push_back({*path, {}, {}});
  }
  PutInTreeOrder(folders);
  std::vector<std::string> paths;
  for (const Folder& folder : folders) paths.push_back(folder.path);
  EXPECT_EQ(paths, expected);
  EXPECT_FALSE(TreeLess("/w/a", "/w/a"));
}

}  // namespace
}  // namespace mapgen
