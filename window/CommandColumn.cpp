// The parts of the window outside the tabs: the maker's name, the command
// buttons, the progress bar and the lines that frame the tabs.
#include <QFrame>
#include <QPushButton>

#include "Legibility.h"
#include "frmTessary.h"

namespace tessary {
namespace {

constexpr mapgen::Colour kProgressFill = 0x00C00000;
// At the head of the command column, clear of the tab strip, whose sixth
// tab stands where the bar was once designed.
constexpr TwipsRect kProgressPlace = {8160, 120, 1215, 210};

void DrawFormLines(QWidget* form) {
  const mapgen::Colour shadow =
      FromQColor(form->palette().color(QPalette::Dark));
  constexpr int width = frmTessary::kFormWidth;
  MakeShape(form, "lineMenuShadow", shadow, {0, 0, width, 30});
  MakeShape(form, "lineMenuLight", kWhite, {0, 10, width, 30});
  MakeShape(form, "lineColumn", kBlack,
            {8055, 240, 15, frmTessary::kFormHeight});
}

}  // namespace

void frmTessary::InitCommandColumn() {
  DrawFormLines(central_);

  lblCorvaleSoftware = MakeLabel(central_, "lblCorvaleSoftware",
                                 "Corvale Software's  ", {8280, 600, 975, 615});
  QFont makerFont = NamedFont(kFormFont, 8.25, true);
  makerFont.setItalic(true);
  lblCorvaleSoftware->setFont(makerFont);
  lblCorvaleSoftware->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  SetCaptionColour(lblCorvaleSoftware, kBlue);
  lblCorvaleSoftware->setToolTip("Maker of Custom Software");
  connect(lblCorvaleSoftware, &ClickLabel::clicked, this,
          [this] { OpenBrowser(kHomePage); });

  Label3[0] = MakeLabel(central_, Indexed("Label3", 0), "Tessary ",
                        {8160, 1320, 1335, 615});
  Label3[0]->setFont(NamedFont(kFormFont, 9.75, true));
  Label3[0]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  cmdBuildMap =
      MakeButton(central_, "cmdBuildMap", "&Build", {8280, 3480, 975, 375});
  cmdBuildMap->setToolTip("Create HTML");
  cmdPreview =
      MakeButton(central_, "cmdPreview", "&Preview", {8280, 3960, 975, 375});
  cmdPreview->setToolTip("View what was just built");
  cmdSave = MakeButton(central_, "cmdSave", "&Save", {8280, 4440, 975, 375});
  cmdSave->setToolTip("Save 'Map File'");
  cmdExit = MakeButton(central_, "cmdExit", "E&xit", {8280, 4920, 975, 375});
  QWidget::setTabOrder(cmdBuildMap, cmdPreview);
  QWidget::setTabOrder(cmdPreview, cmdSave);
  QWidget::setTabOrder(cmdSave, cmdExit);

  shpProgressBorder = new QFrame(central_);
  shpProgressBorder->setObjectName("shpProgressBorder");
  shpProgressBorder->setFrameStyle(QFrame::Box | QFrame::Plain);
  PlaceTwips(shpProgressBorder, kProgressPlace);
  shpProgressPercent = MakeShape(
      central_, "shpProgressPercent", kProgressFill,
      {kProgressPlace.left, kProgressPlace.top, 135, kProgressPlace.height});
  ShowProgress(false, 0);
}

void frmTessary::ShowProgress(bool visible, double fraction) {
  shpProgressBorder->setVisible(visible);
  shpProgressPercent->setVisible(visible);
  shpProgressPercent->resize(
      static_cast<int>(shpProgressBorder->width() * fraction),
      shpProgressPercent->height());
}

}  // namespace tessary
