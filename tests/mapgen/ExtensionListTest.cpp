#include "ExtensionList.h"

#include <gtest/gtest.h>

#include "FolderFileList.h"

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

TEST(ListFolderFiles, GroupsByExtensionThenOrdinalOrder) {
  MapSettings settings;
  settings.chkExtension = {1, 0, 1, 0, 0, 0};
  EXPECT_EQ(ListFolderFiles({"b.txt", "z.html", "a.htm", "B.html", "x.pdf", "A.TXT",
                             "page.backup.htm", "Index.HTML"},
                            ListingRule(settings)),
            (FolderFileList{"B.html", "Index.HTML", "z.html", "a.htm", "A.TXT", "b.txt"}));
}

}  // namespace
}  // namespace mapgen
