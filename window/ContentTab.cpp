// The Content tab: title, base folder, file types, banner and entry style.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "frmTessary.h"

namespace tessary {
namespace {

const char* const kExtensionCaptions[6] = {".html or .htm", ".asp", ".txt",
                                           ".pdf",          ".jpg", "Other :"};
// Three rows in two columns.
constexpr TwipsRect kExtensionPlaces[6] = {
    {120, 300, 1680, 255},  {120, 630, 1680, 255},  {120, 960, 1680, 255},
    {1920, 300, 1215, 255}, {1920, 630, 1215, 255}, {1920, 960, 975, 255}};

const char* const kStyleTips[4] = {" Only Page Title appears ",
                                   " Both Page Title and file name",
                                   " File Name only ", " File Name only "};

struct StyleSample {
  const char* caption;
  TwipsRect place;
  bool link;
  const char* tip;
};
const char* const kTitleTip = "Page Title is embedded in the HTML file.";
const StyleSample kStyleSamples[5] = {
    {"Page Title", {1560, 405, 2265, 240}, true, kTitleTip},
    {"Page Title", {1560, 690, 1095, 255}, false, kTitleTip},
    {"pagefile.html", {1560, 990, 2265, 255}, true, " file name "},
    {"pagefile.html", {1560, 1285, 2285, 255}, false, " file name "},
    {"pagefile.html", {2520, 685, 1305, 255}, true, " file name "}};

}  // namespace

void frmTessary::InitContentTab() {
  QFrame* tab = fraOptions[1];
  Label1[0] = MakeLabel(tab, Indexed("Label1", 0), "Map Page Title",
                        {240, 270, 1335, 255});
  txtTitle = MakeText(tab, "txtTitle", {1560, 225, 6255, 315});
  txtTitle->setToolTip("Title of the webpage");
  NameAfter(Label1[0], txtTitle);

  QGroupBox* Frame4 =
      MakeGroup(tab, "Frame4", "Included Folders: ", {120, 660, 7815, 1020});
  Frame4->setToolTip(" Directories searched");
  lblX[1] = MakeLabel(Frame4, Indexed("lblX", 1),
                      "Base Folder :", {120, 330, 1095, 255});
  txtDir = MakeText(Frame4, "txtDir", {1200, 285, 5280, 315});
  txtDir->setText("txtDir");
  txtDir->setReadOnly(true);
  txtDir->setToolTip(" Base directory. Use button on right to change ");
  cmdChangeDirectory =
      MakeButton(Frame4, "cmdChangeDirectory", "browse", {6600, 270, 975, 345});
  cmdChangeDirectory->setToolTip("Click to change folder");
  NameAfter(lblX[1], txtDir);
  cmdChangeDirectory->setAccessibleName("Browse for base folder");
  chkShowSubfolders = MakeCheck(Frame4, "chkShowSubfolders", "Show Subfolders",
                                {1200, 660, 2055, 255});
  chkShowEmpties = MakeCheck(Frame4, "chkShowEmpties", "Show Empty Folders",
                             {3600, 660, 2415, 255});
  chkShowEmpties->setToolTip("If unchecked, folder name will not be listed");

  QGroupBox* Frame3 =
      MakeGroup(tab, "Frame3", "Included file types:", {120, 1800, 3735, 1500});
  Frame3->setToolTip("File extensions that will be listed on webpage");
  for (int i = 0; i < 6; ++i) {
    chkExtension[i] = MakeCheck(Frame3, Indexed("chkExtension", i),
                                kExtensionCaptions[i], kExtensionPlaces[i]);
    chkExtension[i]->setAccessibleName(Spoken(kExtensionCaptions[i]));
  }
  txtExtensions = MakeText(Frame3, "txtExtensions", {2880, 915, 735, 315});
  txtExtensions->setAccessibleName("Other file extensions");
  txtExtensions->setToolTip("file extensions separated by commas or spaces");

  QGroupBox* Frame2 =
      MakeGroup(tab, "Frame2", "Banner Image", {3960, 1800, 3975, 1500});
  Frame2->setToolTip(" The Banner Image appears at the very top ");
  chkBannerImage =
      MakeCheck(Frame2, "chkBannerImage", "Show", {120, 300, 975, 255});
  chkBannerImage->setToolTip(" Check box to show banner ");
  chkBannerImage->setAccessibleName("Show banner image");
  lblX[2] =
      MakeLabel(Frame2, Indexed("lblX", 2), "File:", {120, 660, 480, 255});
  txtBannerImage = MakeText(Frame2, "txtBannerImage", {600, 615, 2160, 315});
  txtBannerImage->setToolTip("Full file name of generated HTML");
  cmdImageBrowse =
      MakeButton(Frame2, "cmdImageBrowse", "browse", {2880, 600, 975, 345});
  cmdImageBrowse->setToolTip("Browse");
  NameAfter(lblX[2], txtBannerImage);
  txtBannerImage->setAccessibleName("Banner image file");
  cmdImageBrowse->setAccessibleName("Browse for banner image");
  lblX[0] = MakeLabel(Frame2, Indexed("lblX", 0),
                      "Alignment :", {120, 1080, 1000, 255});
  lblX[0]->setEnabled(false);
  cmbBannerAlign =
      MakeCombo(Frame2, "cmbBannerAlign", {"left", "center", "right"},
                {1200, 1035, 1335, 315});
  NameAfter(lblX[0], cmbBannerAlign);
  cmbBannerAlign->setAccessibleName("Banner alignment");

  QGroupBox* Frame1 =
      MakeGroup(tab, "Frame1", "HTML files - Title and Link representation",
                {120, 3420, 7815, 1995});
  Frame1->setToolTip(" Style only affects .HTM and .HTML files");
  InitStyleChooser(Frame1);
  chkHTMext =
      MakeCheck(Frame1, "chkHTMext", "Any file extension containing  \"htm\"",
                {4080, 480, 3615, 255});
  chkSafeLinks =
      MakeCheck(Frame1, "chkSafeLinks", "Safe links (quote and encode names)",
                {4080, 840, 3615, 255});
  chkSafeLinks->setToolTip(
      "Quote and percent-encode links; show names and titles as text");
}

// Four style buttons beside example rows; a white bar marks the row of the
// chosen style.
void frmTessary::InitStyleChooser(QGroupBox* frame) {
  for (int i = 0; i < 4; ++i) {
    optStyle[i] = MakeOption(frame, Indexed("optStyle", i),
                             QStringLiteral("    Style %1").arg(i + 1),
                             {240, 435 + 300 * i, 1080, 195});
    optStyle[i]->setToolTip(kStyleTips[i]);
    optStyle[i]->setAccessibleName(Spoken(optStyle[i]->text()));
  }
  Shape1 = MakeShape(frame, "Shape1", kLightGrey, {1320, 360, 2535, 1200});
  Shape2 = MakeShape(frame, "Shape2", kWhite, {1320, 360, 2535, 300});
  for (int i = 0; i < 5; ++i) {
    const StyleSample& sample = kStyleSamples[i];
    lblStyle[i] =
        MakeLabel(frame, Indexed("lblStyle", i), sample.caption, sample.place);
    QFont font = NamedFont("Times New Roman", 9.75);
    font.setUnderline(sample.link);
    lblStyle[i]->setFont(font);
    SetForeColor(lblStyle[i], sample.link ? kBlue : kBlack);
    lblStyle[i]->setToolTip(sample.tip);
    // The second example of row 1 stands for Style 2 as well.
    const int style = i == 4 ? 1 : i;
    connect(lblStyle[i], &ClickLabel::clicked, this,
            [this, style] { optStyle[style]->setChecked(true); });
  }
}

void frmTessary::InitStyleSamples() {
  Shape2->setGeometry(Shape2->x(), Shape1->y(), Shape2->width(),
                      Shape1->height() / 4);
  SetBackColor(lblStyle[0], BackColor(Shape2));
  for (int i = 1; i < 4; ++i) SetBackColor(lblStyle[i], BackColor(Shape1));
  SetBackColor(lblStyle[4], BackColor(lblStyle[1]));
}

}  // namespace tessary
