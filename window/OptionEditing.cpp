// Option editing: each option control writes its value into the settings
// record as it changes, and any change that alters the page marks a built
// map as out of date.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>
#include <string_view>

#include "ColorSwatch.h"
#include "MapFields.h"
#include "TextLines.h"
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

void ShowText(QComboBox* box, const QString& text) {
  const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (item >= 0) box->setCurrentIndex(item);
  box->setEditText(text);
}

}  // namespace

// Every field of the settings has its control, found by the field's name.
void frmTessary::InitOptionTracking() {
  const std::map<std::string_view, ChangeHandler> handlers = {
      {"chkShowSubfolders", &frmTessary::chkShowSubfolders_Click},
      {"chkBannerImage", &frmTessary::chkBannerImage_Click},
      {"txtBannerImage", &frmTessary::txtBannerImage_Change},
      {"chkBgImage", &frmTessary::chkBgImage_Click},
  };
  for (const mapgen::MapField& field : mapgen::MapFields()) {
    const auto handler = handlers.find(field.Name());
    BindField(field, handler != handlers.end() ? handler->second
                                               : &frmTessary::MarkChanged);
  }
  chkBannerImage_Click();
  chkBgImage_Click();
  chkShowSubfolders_Click();
  connect(cmdFindImage, &QPushButton::clicked, this,
          [this] { ChooseImage("Select Background Image", txtImage); });
  connect(cmdImageBrowse, &QPushButton::clicked, this,
          [this] { ChooseImage("Select Banner Image", txtBannerImage); });
}

void frmTessary::BindField(const mapgen::MapField& field,
                           ChangeHandler handler) {
  QWidget* control =
      findChild<QWidget*>(QString::fromStdString(field.Name()));
  if (control == nullptr) return;  // a setting the window does not show
  switch (field.Kind()) {
    case mapgen::FieldKind::kCheck:
    case mapgen::FieldKind::kSwitch:
      BindCheck(qobject_cast<QCheckBox*>(control),
                field.In<mapgen::CheckState>(settings_), handler);
      break;
    case mapgen::FieldKind::kText:
      BindText(control, field.In<std::string>(settings_), handler);
      break;
    case mapgen::FieldKind::kStyle:
      BindStyle(qobject_cast<QRadioButton*>(control), field.Index());
      break;
    case mapgen::FieldKind::kColour:
      // The swatch shows the colour; its button beside it changes it.
      qobject_cast<ColorSwatch*>(control->parentWidget())
          ->setColour(field.In<mapgen::Colour>(settings_));
      break;
  }
}

void frmTessary::BindCheck(QCheckBox* box, mapgen::CheckState& field,
                           ChangeHandler handler) {
  box->setCheckState(ToQt(field));
  connect(box, &QCheckBox::stateChanged, this,
          [this, &field, handler](int state) {
            field = FromQt(state);
            (this->*handler)();
          });
}

// A line, a list's typed text, or free text, whose lines the page breaks
// with CR LF and the box with LF.
void frmTessary::BindText(QWidget* box, std::string& field,
                          ChangeHandler handler) {
  const auto changed = [this, &field, handler](const QString& text) {
    field = text.toStdString();
    (this->*handler)();
  };
  if (auto* line = qobject_cast<QLineEdit*>(box)) {
    line->setText(QString::fromStdString(field));
    connect(line, &QLineEdit::textChanged, this, changed);
  } else if (auto* list = qobject_cast<QComboBox*>(box)) {
    ShowText(list, QString::fromStdString(field));
    connect(list, &QComboBox::currentTextChanged, this, changed);
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
    text->setPlainText(QString::fromStdString(mapgen::WithLfBreaks(field)));
    connect(text, &QPlainTextEdit::textChanged, this,
            [this, text, &field, handler] {
              field = mapgen::WithCrLfBreaks(text->toPlainText().toStdString());
              (this->*handler)();
            });
  }
}

void frmTessary::BindStyle(QRadioButton* button, std::size_t index) {
  button->setChecked(settings_.optStyle[index]);
  connect(button, &QRadioButton::toggled, this, [this, index](bool on) {
    if (!on) return;
    mapgen::SelectStyle(settings_, index);
    optStyle_Click(static_cast<int>(index));
  });
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
