// Option editing: each option control writes its value into the settings
// record as it changes, and any change that alters the page marks a built
// map as out of date.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <map>
#include <string_view>

#include "ColorSwatch.h"
#include "MapField.h"
#include "TextLines.h"
#include "frmTessary.h"

namespace tessary {
namespace {

Qt::CheckState ToQt(mapgen::CheckState state) {
  switch (state) {
    case mapgen::kUnchecked:
      return Qt::Unchecked;
    case mapgen::kChecked:
      return Qt::Checked;
    default:
      return Qt::PartiallyChecked;
  }
}

mapgen::CheckState FromQt(int state) {
  switch (state) {
    case Qt::Unchecked:
      return mapgen::kUnchecked;
    case Qt::Checked:
      return mapgen::kChecked;
    default:
      return 2;
  }
}

void ShowText(QComboBox* box, const QString& text) {
  const int item =
      box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (item >= 0) box->setCurrentIndex(item);
  box->setEditText(text);
}

}  // namespace

// Every field of the settings has its control, found by the field's name.
void frmTessary::InitOptionTracking() {
  InitTyping();
  const std::map<std::string_view, ChangeHandler> handlers = {
      {"chkShowSubfolders", &frmTessary::chkShowSubfolders_Click},
      {"chkBannerImage", &frmTessary::chkBannerImage_Click},
      {"txtBannerImage", &frmTessary::txtBannerImage_Change},
      {"chkBgImage", &frmTessary::chkBgImage_Click},
      {"txtSitemapXml", &frmTessary::txtSitemapXml_Change},
  };
  for (const mapgen::MapField& field : mapgen::MapFields()) {
    const auto handler = handlers.find(field.Name());
    BindField(field, handler != handlers.end() ? handler->second
                                               : &frmTessary::MarkChanged);
  }
  chkBannerImage_Click();
  chkBgImage_Click();
  chkShowSubfolders_Click();
  txtSitemapXml_Change();
  connect(cmdFindImage, &QPushButton::clicked, this,
          [this] { ChooseImage("Select Background Image", txtImage); });
  connect(cmdImageBrowse, &QPushButton::clicked, this,
          [this] { ChooseImage("Select Banner Image", txtBannerImage); });
}

// A field without its control is a window built wrong, found at start.
void frmTessary::BindField(const mapgen::MapField& field,
                           ChangeHandler handler) {
  QWidget* control = findChild<QWidget*>(QString::fromStdString(field.Name()));
  if (control == nullptr) qFatal("no control for %s", field.Name().c_str());
  switch (field.Kind()) {
    case mapgen::FieldKind::kCheck:
    case mapgen::FieldKind::kSwitch:
      BindCheck(qobject_cast<QCheckBox*>(control), field, handler);
      break;
    case mapgen::FieldKind::kText:
      BindText(control, field, handler);
      break;
    case mapgen::FieldKind::kStyle:
      BindStyle(qobject_cast<QRadioButton*>(control), field);
      break;
    case mapgen::FieldKind::kColour:
      BindColour(qobject_cast<ColorSwatch*>(control->parentWidget()), field);
      break;
  }
  showField_.back()(settings_);
}

void frmTessary::BindCheck(QCheckBox* box, const mapgen::MapField& field,
                           ChangeHandler handler) {
  auto& value = field.In<mapgen::CheckState>(settings_);
  showField_.push_back([box, &field](const mapgen::MapSettings& settings) {
    box->setCheckState(ToQt(field.In<mapgen::CheckState>(settings)));
  });
  connect(box, &QCheckBox::stateChanged, this,
          [this, &value, handler](int state) {
            value = FromQt(state);
            (this->*handler)();
          });
}

// A line, a list's typed text, or free text, whose lines the page breaks
// with CR LF and the box with LF.
void frmTessary::BindText(QWidget* box, const mapgen::MapField& field,
                          ChangeHandler handler) {
  auto& value = field.In<std::string>(settings_);
  const auto text = [&field](const mapgen::MapSettings& settings) {
    return QString::fromStdString(field.In<std::string>(settings));
  };
  const auto changed = [this, &value, handler](const QString& text) {
    value = text.toStdString();
    (this->*handler)();
  };
  if (auto* line = qobject_cast<QLineEdit*>(box)) {
    showField_.push_back([line, text](const mapgen::MapSettings& settings) {
      line->setText(text(settings));
    });
    connect(line, &QLineEdit::textChanged, this, changed);
  } else if (auto* list = qobject_cast<QComboBox*>(box)) {
    showField_.push_back([list, text](const mapgen::MapSettings& settings) {
      ShowText(list, text(settings));
    });
    connect(list, &QComboBox::currentTextChanged, this, changed);
  } else if (auto* area = qobject_cast<QPlainTextEdit*>(box)) {
    // The exclude list is a list of names, one a line, as tessary-cli
    // writes it, not text of the page.
    const bool pageText = area != txtExclude;
    showField_.push_back([area, &field](const mapgen::MapSettings& settings) {
      area->setPlainText(QString::fromStdString(
          mapgen::WithLfBreaks(field.In<std::string>(settings))));
    });
    typedText_[area] = [area, &value, pageText] {
      const std::string text = area->toPlainText().toStdString();
      value = pageText ? mapgen::WithCrLfBreaks(text) : text;
    };
    connect(area, &QPlainTextEdit::textChanged, this, [this, area, handler] {
      typedIn_.insert(area);
      typing_->start();
      (this->*handler)();
    });
  }
}

// A key typed into a long text costs no more than a short one: the text
// reaches the settings once typing pauses, or when they are read.
void frmTessary::InitTyping() {
  typing_ = new QTimer(this);
  typing_->setSingleShot(true);
  typing_->setInterval(kTypingPause);
  connect(typing_, &QTimer::timeout, this, &frmTessary::TakeTypedText);
}

void frmTessary::TakeTypedText() {
  typing_->stop();
  for (QPlainTextEdit* area : typedIn_) typedText_.at(area)();
  typedIn_.clear();
}

const mapgen::MapSettings& frmTessary::settings() {
  TakeTypedText();
  return settings_;
}

void frmTessary::BindStyle(QRadioButton* button,
                           const mapgen::MapField& field) {
  const std::size_t index = field.Index();
  showField_.push_back([button, &field](const mapgen::MapSettings& settings) {
    if (field.In<bool>(settings)) button->setChecked(true);
  });
  connect(button, &QRadioButton::toggled, this, [this, index](bool on) {
    if (!on) return;
    mapgen::SelectStyle(settings_, index);
    optStyle_Click(static_cast<int>(index));
  });
}

// The swatch shows the colour; its button beside it changes it. A colour
// shown from a settings file is in use as any chosen one is.
void frmTessary::BindColour(ColorSwatch* swatch,
                            const mapgen::MapField& field) {
  showField_.push_back(
      [this, swatch, &field](const mapgen::MapSettings& settings) {
        auto& colour = field.In<mapgen::Colour>(settings_);
        colour = field.In<mapgen::Colour>(settings);
        swatch->setColour(colour);
      });
}

void frmTessary::ShowSettings(const mapgen::MapSettings& settings) {
  for (const auto& show : showField_) show(settings);
  SetButtons(1);
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
