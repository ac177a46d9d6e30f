// The Appearance tab: list layout, background image, font, colours and
// sizes.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "ColorSwatch.h"
#include "frmTessary.h"

namespace tessary {
namespace {

const QStringList kSizes = {"normal", "+1", "+2", "+3", "+4", "+5"};
const char* const kColourCaptions[6] = {"Background ", "Text ",
                                        "Link ",       "Visited Link ",
                                        "Map Title ",  "Subfolder Titles"};
// The rows' own words, for screen readers.
const char* const kColourRows[6] = {"Background", "Text",
                                    "Link",       "Visited link",
                                    "Map title",  "Subfolder titles"};
// The rows with a size, cmbSize(0) to (2), and the labels beside them.
constexpr int kSizeRows[4] = {1, 4, 5, -1};
constexpr int kSizeLabels[3] = {4, 1, 2};
constexpr int kColourTop = 1980;
constexpr int kColourStep = 420;

constexpr int ColourRow(int index) { return kColourTop + kColourStep * index; }

}  // namespace

void frmTessary::InitAppearanceTab() {
  QFrame* tab = fraOptions[3];
  chkBullets = MakeCheck(tab, "chkBullets", "Bullets", {240, 240, 1215, 255});
  chkLines = MakeCheck(tab, "chkLines", "Separator lines between subfolders",
                       {1560, 240, 3375, 255});
  chkIndent =
      MakeCheck(tab, "chkIndent", "Indent subfolders", {5040, 240, 2055, 255});

  chkBgImage =
      MakeCheck(tab, "chkBgImage", "Background Image", {240, 690, 1935, 255});
  txtImage = MakeText(tab, "txtImage", {2280, 645, 3615, 315});
  txtImage->setAccessibleName("Background image file");
  cmdFindImage =
      MakeButton(tab, "cmdFindImage", "browse", {6000, 630, 975, 345});
  cmdFindImage->setAccessibleName("Browse for background image");

  Label1[6] =
      MakeLabel(tab, Indexed("Label1", 6), "Font :", {240, 1170, 615, 255});
  cmbFont = MakeCombo(tab, "cmbFont", {"default", "Arial", "Times", "Courier"},
                      {960, 1125, 1815, 315});
  NameAfter(Label1[6], cmbFont);

  Label1[5] =
      MakeLabel(tab, Indexed("Label1", 5), "Colors", {240, 1620, 975, 255});
  Label1[5]->setFont(NamedFont(kFormFont, 8.25, true));
  InitColourRows(tab);
}

// One row per colour: the swatch, its check box, and in some rows the
// size and alignment of the text it colours, made row by row so that Tab
// reads them so.
void frmTessary::InitColourRows(QFrame* tab) {
  int sizes = 0;
  for (int i = 0; i < 6; ++i) {
    const QString row = QString::fromLatin1(kColourRows[i]);
    cmdColor[i] = new ColorSwatch(tab);
    cmdColor[i]->setObjectName(Indexed("cmdColor", i));
    cmdColor[i]->swatch()->setObjectName(Indexed("shpColor", i));
    cmdColor[i]->setToolTip("Click to change color");
    cmdColor[i]->setAccessibleName("Change " + row.toLower() + " colour");
    PlaceTwips(cmdColor[i], {240, ColourRow(i), 495, 315});
    connect(cmdColor[i], &ColorSwatch::clicked, this,
            [this, i] { cmdColor_Click(i); });
    chkColor[i] = MakeCheck(tab, Indexed("chkColor", i), kColourCaptions[i],
                            {840, ColourRow(i) + 30, 1695, 255});
    chkColor[i]->setAccessibleName(row + " colour");
    if (i == 0) {
      Label2[1] = MakeLabel(tab, Indexed("Label2", 1),
                            "( Image overrides background color)",
                            {2640, ColourRow(0) + 30, 3255, 255});
    }
    if (i == kSizeRows[sizes]) {
      InitSizeRow(tab, sizes, row);
      ++sizes;
    }
    if (i == 4) {
      Label1[3] = MakeLabel(tab, Indexed("Label1", 3),
                            "Alignment :", {4560, ColourRow(4) + 30, 975, 255});
      cmbTitleAlign =
          MakeCombo(tab, "cmbTitleAlign", {"Left", "Center", "Right"},
                    {5580, ColourRow(4), 1215, 315});
      NameAfter(Label1[3], cmbTitleAlign);
      cmbTitleAlign->setAccessibleName("Map title alignment");
    }
  }
}

// The size of the text a colour row colours: cmbSize(index) and its label.
void frmTessary::InitSizeRow(QFrame* tab, int index, const QString& row) {
  const int label = kSizeLabels[index];
  const int top = ColourRow(kSizeRows[index]);
  Label1[label] = MakeLabel(tab, Indexed("Label1", label),
                            "Size:", {2640, top + 30, 495, 255});
  cmbSize[index] =
      MakeCombo(tab, Indexed("cmbSize", index), kSizes, {3180, top, 1095, 315});
  NameAfter(Label1[label], cmbSize[index]);
  cmbSize[index]->setAccessibleName(row + " size");
}

}  // namespace tessary
