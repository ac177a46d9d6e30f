// The Folder tab: drive, folder tree and file list, and what the chosen
// folder means.
#include <QComboBox>
#include <QFrame>
#include <QPushButton>

#include "FolderViews.h"
#include "Legibility.h"
#include "frmTessary.h"

namespace tessary {

void frmTessary::InitFolderTab() {
  QFrame* tab = fraOptions[0];
  Label8 = MakeLabel(tab, "Label8",
                     "Select drive and folder:", {240, 240, 3600, 255});
  Drive1 = new ComboBox(tab);
  Drive1->setObjectName("Drive1");
  PlaceTwips(Drive1, {240, 540, 3600, 330});
  Dir1 = new FolderTree(tab, fs_);
  Dir1->setObjectName("Dir1");
  PlaceTwips(Dir1, {240, 960, 3600, 3840});
  File1 = new FileList(tab, fs_);
  File1->setObjectName("File1");
  PlaceTwips(File1, {4080, 540, 3735, 2040});
  Drive1->setAccessibleName("Drive");
  Dir1->setAccessibleName("Folder tree");
  Dir1->setAccessibleDescription(
      "Enter or a double click chooses the folder to map");
  File1->setAccessibleName("Files in the folder");

  Label7 = MakeLabel(tab, "Label7", "Instructions:  ", {4080, 2760, 3735, 255});
  Label7->setFont(NamedFont(kFormFont, 8.25, true));
  SetCaptionColour(Label7, kDarkBlue);
  Label6 = MakeLabel(tab, "Label6",
                     "Select the folder (directory) you wish to index.  Drill "
                     "down as needed.  Double click a closed folder to open "
                     "it. Double click an open folder to close folders below "
                     "it.  ",
                     {4080, 3000, 3735, 900});
  Label4 = MakeLabel(tab, "Label4", "Caution:  ", {4080, 3960, 3735, 255});
  Label4->setFont(NamedFont(kFormFont, 8.25, true));
  SetCaptionColour(Label4, kDarkRed);
  Label5 = MakeLabel(tab, "Label5",
                     "Selecting a root directory (such as \"/\")  may "
                     "generate a very long site map.",
                     {4080, 4200, 2760, 720});

  Label9 =
      MakeLabel(tab, "Label9", "Selected folder :", {240, 4950, 1455, 255});
  lblSelectedFolder = MakeLabel(tab, "lblSelectedFolder", "Selected folder",
                                {1695, 4950, 6120, 255});
  lblSelectedFolder->setWordWrap(false);
  SetCaptionColour(lblSelectedFolder, kBlue);

  // Inside the tab, right-aligned, so that it never covers the command
  // column beside the tab.
  cmdOK = MakeButton(tab, "cmdOK", "OK", {6960, 4320, 975, 495});
  cmdOK->setAccessibleDescription("Shows the Map tab");
  connect(cmdOK, &QPushButton::clicked, this, [this] { lblToolbar_Click(4); });
}

}  // namespace tessary
