// Option editing: each option control writes its value into the settings
// record as it changes, and any change that alters the page marks a built
// map as out of date.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ColorSwatch.h"
#include "frmTessary.h"

namespace tessary {
namespace {

Qt::CheckState ToQt(mapgen::CheckState state) {
  switch (state) {
    case mapgen::kUnchecked: return Qt::Unchecked;
    case mapgen::kChecked: return Qt::Checked;
    default: return Qt::PartiallyChecked;
  }
}

mapgen::CheckState FromQt(int state) {
  switch (state) {
    case Qt::Unchecked: return mapgen::kUnchecked;
    case Qt::Checked: return mapgen::kChecked;
    default: return 2;
  }
}

// The page breaks the lines of free text with CR LF; the text boxes break
// them with LF.
std::string WithCrLf(const QString& text) {
  return QString(text).replace('\n', "\r\n").toStdString();
}

QString WithLf(const std::string& text) {
  return QString::fromStdString(text).replace("\r\n", "\n");
}

void ShowText(QComboBox* box, const QString& text) {
  const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (item >= 0) box->setCurrentIndex(item);
  box->setEditText(text);
}

}  // namespace

void frmTessary::InitOptionTracking() {
  const auto changed = &frmTessary::MarkChanged;
  BindCheck(chkShowSubfolders, settings_.chkShowSubfolders,
            &frmTessary::chkShowSubfolders_Click);
  BindCheck(chkShowEmpties, settings_.chkShowEmpties, changed);
  for (int i = 0; i < 6; ++i) {
    BindCheck(chkExtension[i], settings_.chkExtension[i], changed);
  }
  // The further extensions change the page as much as any option does.
  BindText(txtExtensions, settings_.txtExtensions, changed);
  BindCheck(chkHTMext, settings_.chkHTMext, changed);
  BindCheck(chkSafeLinks, settings_.chkSafeLinks, changed);
  BindStyles();
  BindText(txtTitle, settings_.txtTitle, changed);
  BindCheck(chkBannerImage, settings_.chkBannerImage,
            &frmTessary::chkBannerImage_Click);
  BindText(txtBannerImage, settings_.txtBannerImage,
           &frmTessary::txtBannerImage_Change);
  BindCombo(cmbBannerAlign, settings_.cmbBannerAlign);

  BindCheck(chkBullets, settings_.chkBullets, changed);
  BindCheck(chkIndent, settings_.chkIndent, changed);
  BindCheck(chkLines, settings_.chkLines, changed);
  BindCombo(cmbFont, settings_.cmbFont);
  BindCombo(cmbTitleAlign, settings_.cmbTitleAlign);
  for (int i = 0; i < 3; ++i) BindCombo(cmbSize[i], settings_.cmbSize[i]);
  for (int i = 0; i < 6; ++i) {
    BindCheck(chkColor[i], settings_.chkColor[i], changed);
    cmdColor[i]->setColour(settings_.shpColor[i]);
  }
  BindCheck(chkBgImage, settings_.chkBgImage, &frmTessary::chkBgImage_Click);
  // Unlike the banner's, the background's name counts even while unused.
  BindText(txtImage, settings_.txtImage, changed);
  BindMultiLine(txtPreface, settings_.txtPreface);
  BindMultiLine(txtAppendix, settings_.txtAppendix);

  chkBannerImage_Click();
  chkBgImage_Click();
  chkShowSubfolders_Click();
  connect(cmdFindImage, &QPushButton::clicked, this,
          [this] { ChooseImage("Select Background Image", txtImage); });
  connect(cmdImageBrowse, &QPushButton::clicked, this,
          [this] { ChooseImage("Select Banner Image", txtBannerImage); });
}

void frmTessary::BindCheck(QCheckBox* box, mapgen::CheckState& field,
                           void (frmTessary::*handler)()) {
  box->setCheckState(ToQt(field));
  connect(box, &QCheckBox::stateChanged, this,
          [this, &field, handler](int state) {
            field = FromQt(state);
            (this->*handler)();
          });
}

void frmTessary::BindText(QLineEdit* box, std::string& field,
                          void (frmTessary::*handler)()) {
  box->setText(QString::fromStdString(field));
  connect(box, &QLineEdit::textChanged, this,
          [this, &field, handler](const QString& text) {
            field = text.toStdString();
            (this->*handler)();
          });
}

void frmTessary::BindMultiLine(QPlainTextEdit* box, std::string& field) {
  box->setPlainText(WithLf(field));
  connect(box, &QPlainTextEdit::textChanged, this, [this, box, &field] {
    field = WithCrLf(box->toPlainText());
    MarkChanged();
  });
}

void frmTessary::BindCombo(QComboBox* box, std::string& field) {
  ShowText(box, QString::fromStdString(field));
  connect(box, &QComboBox::currentTextChanged, this,
          [this, &field](const QString& text) {
            field = text.toStdString();
            MarkChanged();
          });
}

void frmTessary::BindStyles() {
  for (int i = 0; i < 4; ++i) {
    optStyle[i]->setChecked(settings_.optStyle[i]);
    connect(optStyle[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      for (int j = 0; j < 4; ++j) settings_.optStyle[j] = j == i;
      optStyle_Click(i);
    });
  }
}

void frmTessary::MarkChanged() { SetButtons(1); }

void frmTessary::chkShowSubfolders_Click() {
  chkShowEmpties->setEnabled(settings_.chkShowSubfolders != mapgen::kUnchecked);
  SetButtons(1);
}

void frmTessary::chkBannerImage_Click() {
  SetButtons(1);
  const bool on = settings_.chkBannerImage == mapgen::kChecked;
  txtBannerImage->setEnabled(on);
  cmdImageBrowse->setEnabled(on);
  cmbBannerAlign->setEnabled(on);
}

void frmTessary::chkBgImage_Click() {
  SetButtons(1);
  const bool on = settings_.chkBgImage == mapgen::kChecked;
  txtImage->setEnabled(on);
  cmdFindImage->setEnabled(on);
}

void frmTessary::txtBannerImage_Change() {
  if (settings_.chkBannerImage == mapgen::kChecked) SetButtons(1);
}

// The white bar moves to the chosen style's row of examples.
void frmTessary::optStyle_Click(int index) {
  SetButtons(1);
  for (int i = 0; i < 4; ++i) SetBackColor(lblStyle[i], BackColor(Shape1));
  Shape2->move(Shape2->x(), Shape1->y() + index * Shape1->height() / 4);
  SetBackColor(lblStyle[index], BackColor(Shape2));
  SetBackColor(lblStyle[4], BackColor(lblStyle[1]));
}

}  // namespace tessary
