#include "ExtensionList.h"

#include <gtest/gtest.h>

#include "FolderFileList.h"
#include "MemoryFileSystem.h"

namespace mapgen {
namespace {

ExtensionList WithOther(const std::string& typed,
                        std::array<CheckState, 6> boxes = {0, 0, 0, 0, 0, 1}) {
  MapSettings settings;
  settings.chkExtension = boxes;
  settings.txtExtensions = typed;
  return BuildExtensionList(settings);
}

TEST(BuildExtensionList, CheckBoxesThenTypedExtensionsEachOnce) {
  EXPECT_EQ(BuildExtensionList(MapSettings{}), (ExtensionList{"HTML", "HTM", "TXT", "PDF"}));
  EXPECT_EQ(WithOther("htm Zip zIP", {1, 1, 1, 1, 1, 1}),
            (ExtensionList{"HTML", "HTM", "ASP", "TXT", "PDF", "JPG", "ZIP"}));
  EXPECT_EQ(WithOther("zip", {2, 2, 2, 2, 2, 2}), ExtensionList{});  // greyed
  // Only the blank, the comma and the dot separate typed extensions.
  EXPECT_EQ(WithOther(" .zip,  .gif "), (ExtensionList{"ZIP", "GIF"}));
  EXPECT_EQ(WithOther("tar.gz"), (ExtensionList{"TAR", "GZ"}));
  EXPECT_EQ(WithOther("zip;rar\tx*"), (ExtensionList{"ZIP;RAR\tX*"}));
  EXPECT_EQ(WithOther(" ., .,, "), ExtensionList{});
}

TEST(ExtensionOf, IsEverythingAfterTheFirstDotAndDecidesWebPages) {
  EXPECT_EQ(ExtensionOf("archive.tar.gz"), "TAR.GZ");
  EXPECT_EQ(ExtensionOf("README"), "README");
  EXPECT_EQ(ExtensionOf("notes."), "");
  MapSettings settings;
  EXPECT_TRUE(IsWebPage("HTM", settings));
  EXPECT_FALSE(IsWebPage("BACKUP.HTM", settings));
  settings.chkHTMext = 2;  // any value but 0 counts here
  EXPECT_TRUE(IsWebPage("SHTML", settings));
}

// Hidden names, excluded names and other extensions are skipped; the rest
// come in groups by extension, each group in ordinal order, whatever order
// the folder lists them in.
TEST(ListShownFiles, SkipsByTheRulesThenGroupsByExtensionInOrdinalOrder) {
  MapSettings settings;
  settings.chkExtension = {1, 0, 1, 0, 0, 0};
  settings.txtExclude = "*.bak.*\ndraft*";
  MemoryFileSystem fs;
  for (const char* name :
       {"b.txt", "z.html", "a.htm", "B.html", "x.pdf", "A.TXT", "page.backup.htm", "Index.HTML",
        ".hidden.html", "old.bak.html", "draft.txt"}) {
    fs.AddFile(std::string("/w/") + name);
  }
  fs.ShuffleListings(7);
  const SkipRules rules(settings);
  const auto folder = fs.OpenFolder("/w");
  ASSERT_TRUE(folder);
  const auto files = ListShownFiles(**folder, rules);
  ASSERT_TRUE(files);
  EXPECT_EQ(*files, (FolderFileList{"B.html", "Index.HTML", "z.html", "a.htm", "A.TXT", "b.txt"}));
  EXPECT_TRUE(rules.Walks("old", EntryKind::kFolder));
  EXPECT_FALSE(rules.Walks("drafts", EntryKind::kFolder));
  EXPECT_FALSE(rules.Walks(".git", EntryKind::kFolder));
  EXPECT_FALSE(rules.Walks("old", EntryKind::kLinkToFolder));
  EXPECT_TRUE(rules.Group("a.htm", EntryKind::kLinkToFile).has_value());
  EXPECT_FALSE(rules.Group("a.htm", EntryKind::kOther).has_value());
}

}  // namespace
}  // namespace mapgen
