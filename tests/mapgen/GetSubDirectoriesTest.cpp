#include "GetSubDirectories.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "MemoryFileSystem.h"
#include "Ordinal.h"

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
    for (std::size_t i = 0; i < folders->size(); ++i) {
      const Folder folder = (*folders)[i];
      paths.push_back(folder.path);
      EXPECT_FALSE(folder.unreadable);
    }
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(GetSubDirectories(fs, "/", {.all = false, .threads = GetParam()})->size(), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(SerialAndParallel, Walk, testing::Values(1u, 4u));

// The tree holds names, not paths, and puts them in the order of sorted
// full paths, or nested, whatever bytes the names are made of.
TEST(FolderTree, OrdersAsSortedFullPathsOrNested) {
  const std::vector<std::string> names = {
      "a",    "a-b",      "a b",   "a.b",          "b",
      "\xC3", "\xC3\xA9", "a\xFF", "\xEF\xBD\xA1", "\xF0\x9F\x98\x80"};
  FolderTree tree("/w");
  std::vector<std::string> paths = {"/w"};
  std::vector<FolderTree::Number> level = {0};
  for (int depth = 0; depth < 2; ++depth) {
    std::vector<FolderTree::Number> next;
    for (const FolderTree::Number parent : level) {
      for (const std::string& name : names) {
        next.push_back(tree.Add(parent, name));
        paths.push_back(tree.Path(next.back()));
      }
    }
    level = next;
  }
  const auto pathsOf = [&](const std::vector<FolderTree::Number>& order) {
    std::vector<std::string> ordered;
    for (const FolderTree::Number folder : order) ordered.push_back(tree.Path(folder));
    return ordered;
  };
  std::vector<std::string> sorted = paths;
  std::sort(sorted.begin(), sorted.end(), OrdinalLess);
  EXPECT_EQ(pathsOf(tree.InPathOrder()), sorted);
  const std::vector<std::string> nested = pathsOf(tree.InTreeOrder());
  ASSERT_EQ(nested.size(), paths.size());
  EXPECT_EQ(nested[0], "/w");
  EXPECT_EQ(nested[1], "/w/a");
  EXPECT_EQ(nested[2], "/w/a/a");
  EXPECT_EQ(nested[1 + names.size() + 1], "/w/a b");
  FolderTree underRoot("/");
  EXPECT_EQ(underRoot.Path(underRoot.Add(0, "x")), "/x");
}

// A nested page needs each folder's subfolders straight after it: names
// that sort before the separator ("A B", "a-b", "a.b") come after the
// folders inside "A" and "a", not between; names compare ordinally, bytes
// that are no UTF-8 last.
TEST(TreeOrder, PutsEachFolderBeforeItsSiblingsAfterAllBelowIt) {
  const std::vector<std::string> expected = {
      "/",      "/w",     "/w/A",   "/w/A/x", "/w/A/x/y", "/w/A B",      "/w/AB",   "/w/a",
      "/w/a/x", "/w/a-b", "/w/a.b", "/w/ab",  "/w/b",     "/w/\xC3\xA9", "/w/\xFF", "/x"};
  MemoryFileSystem fs;
  for (auto path = expected.rbegin(); path != expected.rend(); ++path) fs.AddFolder(*path);
  auto folders = GetSubDirectories(fs, "/", {.all = true});
  ASSERT_TRUE(folders);
  folders->PutInTreeOrder();
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < folders->size(); ++i) paths.push_back((*folders)[i].path);
  EXPECT_EQ(paths, expected);
}

}  // namespace
}  // namespace mapgen
