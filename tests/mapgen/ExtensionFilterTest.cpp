#include "ExtensionFilter.h"

#include <gtest/gtest.h>

#include "FolderEntries.h"

namespace mapgen {
namespace {

ExtensionList WithOther(const std::string& typed) {
  MapSettings settings;
  settings.chkExtension = {0, 0, 0, 0, 0, 1};
  settings.txtExtensions = typed;
  return BuildExtensionList(settings);
}

TEST(BuildExtensionList, FollowsTheCheckBoxesInOrder) {
  MapSettings settings;
  EXPECT_EQ(BuildExtensionList(settings),
            (ExtensionList{"HTML", "HTM", "TXT", "PDF"}));
  settings.chkExtension = {1, 1, 1, 1, 1, 1};
  EXPECT_EQ(BuildExtensionList(settings),
            (ExtensionList{"HTML", "HTM", "ASP", "TXT", "PDF", "JPG", "ZIP"}));
  settings.chkExtension = {2, 2, 2, 2, 2, 2};  // greyed is not checked
  EXPECT_EQ(BuildExtensionList(settings), ExtensionList{});
}

TEST(BuildExtensionList, OnlyBlankCommaAndDotSeparateTypedExtensions) {
  EXPECT_EQ(WithOther(".zip, .gif"), (ExtensionList{"ZIP", "GIF"}));
  EXPECT_EQ(WithOther("  zip   gif "), (ExtensionList{"ZIP", "GIF"}));
  EXPECT_EQ(WithOther("tar.gz"), (ExtensionList{"TAR", "GZ"}));
  EXPECT_EQ(WithOther("zip;rar\tx*"), (ExtensionList{"ZIP;RAR\tX*"}));
  EXPECT_EQ(WithOther("Zip zIP"), (ExtensionList{"ZIP"}));
  EXPECT_EQ(WithOther(" ., .,, "), ExtensionList{});
  EXPECT_EQ(WithOther(""), ExtensionList{});
}

TEST(BuildExtensionList, SkipsAnExtensionAlreadyListed) {
  MapSettings settings;
  settings.chkExtension[5] = 1;
  settings.txtExtensions = "htm pdf doc";
  EXPECT_EQ(BuildExtensionList(settings),
            (ExtensionList{"HTML", "HTM", "TXT", "PDF", "DOC"}));
}

TEST(ExtensionOf, IsEverythingAfterTheFirstDot) {
  EXPECT_EQ(ExtensionOf("index.html"), "HTML");
  EXPECT_EQ(ExtensionOf("archive.tar.gz"), "TAR.GZ");
  EXPECT_EQ(ExtensionOf("README"), "README");
  EXPECT_EQ(ExtensionOf(".profile"), "PROFILE");
  EXPECT_EQ(ExtensionOf("notes."), "");
}

TEST(IsWebPage, AnyHtmExtensionCountsOnlyWhenAsked) {
  MapSettings settings;
  EXPECT_TRUE(IsWebPage("HTML", settings));
  EXPECT_TRUE(IsWebPage("HTM", settings));
  EXPECT_FALSE(IsWebPage("SHTML", settings));
  EXPECT_FALSE(IsWebPage("BACKUP.HTM", settings));
  settings.chkHTMext = 2;
  EXPECT_TRUE(IsWebPage("SHTML", settings));
  EXPECT_TRUE(IsWebPage("BACKUP.HTM", settings));
}

TEST(ListFolderFiles, GroupsByExtensionThenOrdinalOrder) {
  const ExtensionIndex index({"HTML", "HTM", "TXT"});
  EXPECT_EQ(ListFolderFiles({"b.txt", "z.html", "a.htm", "B.html", "x.pdf",
                             "A.TXT", "page.backup.htm", "Index.HTML"},
                            index),
            (FolderFileList{"B.html", "Index.HTML", "z.html", "a.htm", "A.TXT",
                            "b.txt"}));
}

}  // namespace
}  // namespace mapgen
