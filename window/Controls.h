#pragma once

#include <QComboBox>
#include <QLabel>
#include <QString>
#include <QStringList>

#include "Colours.h"
#include "Twips.h"

class QCheckBox;
class QFont;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessary {

// A label that answers clicks, as the tab strip and the help labels do.
class ClickLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// A list to choose from or type into. A screen reader hears it by its
// caption and then its value, as other controls; Qt's own list names
// itself by its value on Linux, so two lists showing "normal" sound alike.
class ComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit ComboBox(QWidget* parent);
};

// Tells of clicks on a control that has no click signal of its own.
class ClickFilter : public QObject {
  Q_OBJECT
 public:
  explicit ClickFilter(QWidget* watched);

 signals:
  void clicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

// The name of one member of a control array: "chkColor(3)".
QString Indexed(const char* name, int index);

// The face every form and its controls are drawn in.
inline constexpr const char* kFormFont = "MS Sans Serif";

// A font asked for by name; the font configuration picks the nearest face.
QFont NamedFont(const char* family, double points, bool bold = false);

// Each control is made with its name, its first caption or text and its
// place in twips; every one is a child of `parent`.
ClickLabel* MakeLabel(QWidget* parent, const QString& name,
                      const QString& caption, TwipsRect place);
QCheckBox* MakeCheck(QWidget* parent, const QString& name,
                     const QString& caption, TwipsRect place);
QRadioButton* MakeOption(QWidget* parent, const QString& name,
                         const QString& caption, TwipsRect place);
QPushButton* MakeButton(QWidget* parent, const QString& name,
                        const QString& caption, TwipsRect place);
QLineEdit* MakeText(QWidget* parent, const QString& name, TwipsRect place);
ComboBox* MakeCombo(QWidget* parent, const QString& name,
                    const QStringList& items, TwipsRect place);
QGroupBox* MakeGroup(QWidget* parent, const QString& name,
                     const QString& caption, TwipsRect place);
// A caption's words as a screen reader should say them: without the
// mnemonic's "&", the blanks around it and a closing colon.
QString Spoken(const QString& caption);

// Makes `caption` the label of `control`: a screen reader names the
// control by the caption's words.
void NameAfter(QLabel* caption, QWidget* control);

// A filled rectangle or line without border.
QWidget* MakeShape(QWidget* parent, const QString& name, mapgen::Colour fill,
                   TwipsRect place);

}  // namespace tessary
