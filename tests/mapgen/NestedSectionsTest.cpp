#include "NestedSections.h"

#include <gtest/gtest.h>

namespace mapgen {
namespace {

// Folders in tree order with their file counts; each start is written as
// "[" and the folder's path.
std::string Nested(bool showEmpties, std::size_t& folders) {
  const std::pair<const char*, std::size_t> tree[] = {
      {"/w", 0},   {"/w/a", 0},   {"/w/a/b", 2},   {"/w/a/b/c", 0}, {"/w/a-c", 0},
      {"/w/d", 0}, {"/w/d/e", 0}, {"/w/d/e/f", 1}, {"/w/g", 0},     {"/w/g/h", 0},
  };
  NestedSections sections(showEmpties);
  std::string out;
  for (const auto& [folder, files] : tree) {
    const std::string start = std::string("[") + folder;
    if (sections.Start(folder, files, start, out)) out += start;
  }
  sections.EndAll(out);
  folders = sections.Folders();
  return out;
}

// A section holds every section below it; without empty folders, a
// branch with no file anywhere leaves nothing, and a folder with none of
// its own is there only for those below it.
TEST(NestedSections, NestEachFolderInItsParentAndLeaveOutEmptyBranches) {
  std::size_t folders = 0;
  const std::string end = "</details>\n";
  EXPECT_EQ(Nested(true, folders), "[/w[/w/a[/w/a/b[/w/a/b/c" + end + end + end + "[/w/a-c" + end +
                                       "[/w/d[/w/d/e[/w/d/e/f" + end + end + end + "[/w/g[/w/g/h" +
                                       end + end + end);
  EXPECT_EQ(folders, 10u);
  EXPECT_EQ(Nested(false, folders),
            "[/w[/w/a[/w/a/b" + end + end + "[/w/d[/w/d/e[/w/d/e/f" + end + end + end + end);
  EXPECT_EQ(folders, 6u);
}

TEST(NestedSections, NestUnderTheRoot) {
  NestedSections sections(false);
  std::string out;
  for (const std::string folder : {"/", "/a", "/b"}) {
    EXPECT_TRUE(sections.Start(folder, 1, "<" + folder + ">", out));
    out += "<" + folder + ">";
  }
  sections.EndAll(out);
  EXPECT_EQ(out, "</></a></details>\n</b></details>\n</details>\n");
}

}  // namespace
}  // namespace mapgen
