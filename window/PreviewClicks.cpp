// Clicks on the picture of the page: each part leads to the option behind
// it, or switches that option, and the picture follows.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <algorithm>
#include <iterator>

#include "PreviewLayout.h"
#include "Shape.h"
#include "frmTessary.h"

namespace tessary {
namespace {

constexpr int kMapTab = 4;

// A banner or background picture still to be named.
bool Unnamed(const QString& name) { return name.isEmpty() || name == "[none]"; }

// Checked becomes unchecked; unchecked or greyed becomes checked.
void Toggle(QCheckBox* box) {
  box->setChecked(box->checkState() != Qt::Checked);
}

// Points on the edge do not count.
bool StrictlyInside(const QRect& area, QPoint point) {
  return point.x() > area.x() && point.x() < area.x() + area.width() &&
         point.y() > area.y() && point.y() < area.y() + area.height();
}

}  // namespace

void frmTessary::lblMap_Click(int index) {
  switch (index) {
    case 0:
      ClickBanner();
      return;
    case 1:
      ShowControl(1, txtTitle);
      return;
    case 2:
      ShowControl(2, txtPreface);
      return;
    case 8:
      ShowControl(2, txtAppendix);
      return;
    case 9:
      ShowControl(3, chkColor[5]);
      return;
    case 10:
      ClickImageName();
      return;
    default:  // an entry
      SelectNextStyle();
      lblToolbar_Click(kMapTab);
  }
}

// The banner line shows the change at once, without redrawing the rest.
void frmTessary::ClickBanner() {
  if (chkBannerImage->checkState() != Qt::Unchecked) {
    chkBannerImage->setChecked(false);
    lblMap[0]->setText(kNoBanner);
    return;
  }
  chkBannerImage->setChecked(true);
  if (Unnamed(txtBannerImage->text())) {
    ShowControl(1, txtBannerImage);
  } else {
    lblMap[0]->setText(txtBannerImage->text());
  }
}

void frmTessary::ClickImageName() {
  if (lblMap[10]->text() == kNoBackground) {
    chkBgImage->setChecked(true);
    if (Unnamed(txtImage->text())) {
      ShowControl(3, txtImage);
      return;
    }
    lblMap[10]->setText(txtImage->text());
  } else if (!Image1->isHidden()) {
    chkBgImage->setChecked(false);
    Image1->hide();
    lblMap[10]->setText(kNoBackground);
  } else {
    chkBgImage->setChecked(true);
    Image1->show();
  }
  lblToolbar_Click(kMapTab);
}

void frmTessary::Image1_Click() {
  if (chkBgImage->checkState() == Qt::Checked) {
    chkBgImage->setChecked(false);
    lblMap[10]->setText(kNoBackground);
    lblToolbar_Click(kMapTab);
    return;
  }
  chkBgImage->setChecked(true);
  if (Unnamed(txtImage->text())) {
    ShowControl(3, txtImage);
  } else {
    lblToolbar_Click(kMapTab);
  }
}

// A click on the page where no label or shown picture lies: on a bullet,
// shown or hidden, it switches bullets; elsewhere the background colour.
void frmTessary::fraOptions_MouseUp(int index, QPoint point) {
  if (index != kMapTab || !StrictlyInside(shpMap->geometry(), point)) return;
  const bool onBullet = std::any_of(
      std::begin(shpBullet), std::end(shpBullet), [point](const Shape* bullet) {
        return StrictlyInside(bullet->geometry(), point);
      });
  Toggle(onBullet ? chkBullets : chkColor[0]);
  lblToolbar_Click(kMapTab);
}

void frmTessary::SelectNextStyle() {
  for (int i = 0; i < 4; ++i) {
    if (optStyle[i]->isChecked()) {
      optStyle[(i + 1) % 4]->setChecked(true);
      return;
    }
  }
  optStyle[0]->setChecked(true);
}

void frmTessary::ShowControl(int tab, QWidget* control) {
  lblToolbar_Click(tab);
  control->setFocus();
}

}  // namespace tessary
