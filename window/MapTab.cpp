// The Map tab: the picture of the page, the mapped folder, the output name
// and its lock, and the instructions beside the picture.
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "FolderViews.h"
#include "Legibility.h"
#include "PathEdit.h"
#include "Paths.h"
#include "frmTessary.h"

namespace tessary {
namespace {

QLabel* MakeNote(QWidget* tab, int index, const char* caption,
                 TwipsRect place) {
  QLabel* label = MakeLabel(tab, Indexed("Label2", index), caption, place);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  return label;
}

}  // namespace

void frmTessary::InitMapTab() {
  QFrame* tab = fraOptions[4];
  InitLayoutPreview(tab);
  Label2[5] = MakeNote(tab, 5, "Instructions:", {6435, 240, 1560, 255});
  Label2[5]->setFont(NamedFont(kFormFont, 8.25, true));
  SetCaptionColour(Label2[5], kBlue);
  Label2[3] = MakeLabel(tab, Indexed("Label2", 3),
                        "1. Select Folder 2. Set options   3. Build map      "
                        "4. Preview        5. Save ",
                        {6555, 510, 1365, 990});
  Label2[4] = MakeNote(tab, 4,
                       "Use the Folder, Content, Text, and Appearance tabs "
                       "to change the map.",
                       {6435, 1620, 1560, 990});
  Label2[6] = MakeNote(tab, 6,
                       "Approximate appearance is shown at left.  Use Preview "
                       "to see the output of the build with your browser.",
                       {6435, 2700, 1560, 1380});

  Label2[2] = MakeLabel(tab, Indexed("Label2", 2),
                        "Mapped folder :", {105, 4200, 1335, 255});
  lblDir = MakeLabel(tab, "lblDir", "Dir", {1440, 4200, 6495, 255});
  lblDir->setWordWrap(false);
  SetCaptionColour(lblDir, kBlue);
  connect(lblDir, &ClickLabel::clicked, this, [this] {
    lblToolbar_Click(0);
    Dir1->setFocus();
  });

  Label2[0] = MakeLabel(tab, Indexed("Label2", 0),
                        "Map filename :", {105, 4620, 1335, 255});
  txtMapFile = new PathEdit(tab);
  txtMapFile->setObjectName("txtMapFile");
  PlaceTwips(txtMapFile, {1440, 4575, 4935, 315});
  txtMapFile->setPath(std::string(mapgen::kMapFileName));
  txtMapFile->setToolTip("Full file name of generated HTML");
  cmdChangeOutputPath =
      MakeButton(tab, "cmdChangeOutputPath", "Browse", {6480, 4560, 975, 345});
  cmdChangeOutputPath->setToolTip("Browse");
  NameAfter(Label2[0], txtMapFile);
  cmdChangeOutputPath->setAccessibleName("Browse for map file");
  chkLockFilename = MakeCheck(tab, "chkLockFilename", "Lock filename",
                              {1440, 5010, 1935, 255});
  chkLockFilename->setToolTip(
      "Checked - output name won't change when indexed folder is changed.");
}

}  // namespace tessary
