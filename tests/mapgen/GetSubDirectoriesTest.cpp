#include "GetSubDirectories.h"

#include <gtest/gtest.h>

#include "MemoryFileSystem.h"

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

}  // namespace
}  // namespace mapgen
