#include "Controls.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

namespace tessary {
namespace {

template <typename Control>
Control* Placed(Control* control, const QString& name, TwipsRect place) {
  control->setObjectName(name);
  PlaceTwips(control, place);
  return control;
}

}  // namespace

// Taking the press makes the release come here too.
void ClickLabel::mousePressEvent(QMouseEvent* event) { event->accept(); }

// The release stays here: what lies behind a label does not see its click.
void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && rect().contains(event->pos())) {
    emit clicked();
  }
}

namespace {

class ComboAccessible : public QAccessibleWidget {
 public:
  explicit ComboAccessible(QComboBox* box)
      : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return box()->currentText();
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = box()->isEditable();
    state.expandable = true;
    return state;
  }

  QStringList actionNames() const override {
    return {showMenuAction(), pressAction()};
  }

  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction()) {
      box()->showPopup();
    }
  }

 private:
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* ComboInterface(const QString& className,
                                     QObject* object) {
  if (className != QLatin1String("tessary::ComboBox")) return nullptr;
  return new ComboAccessible(static_cast<QComboBox*>(object));
}

}  // namespace

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(ComboInterface);
    return true;
  }();
  Q_UNUSED(installed);
}

ClickFilter::ClickFilter(QWidget* watched) : QObject(watched) {
  watched->installEventFilter(this);
}

bool ClickFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) emit clicked();
  return QObject::eventFilter(watched, event);
}

QString Indexed(const char* name, int index) {
  return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QString Spoken(const QString& caption) {
  QString words = caption;
  words.remove('&');
  words = words.trimmed();
  if (words.endsWith(':')) words.chop(1);
  return words.trimmed();
}

void NameAfter(QLabel* caption, QWidget* control) {
  caption->setBuddy(control);
  control->setAccessibleName(Spoken(caption->text()));
}

QFont NamedFont(const char* family, double points, bool bold) {
  QFont font{QString::fromLatin1(family)};
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

ClickLabel* MakeLabel(QWidget* parent, const QString& name,
                      const QString& caption, TwipsRect place) {
  auto* label = Placed(new ClickLabel(caption, parent), name, place);
  // Captions show names of files and folders, which may hold markup.
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name,
                     const QString& caption, TwipsRect place) {
  return Placed(new QCheckBox(caption, parent), name, place);
}

QRadioButton* MakeOption(QWidget* parent, const QString& name,
                         const QString& caption, TwipsRect place) {
  return Placed(new QRadioButton(caption, parent), name, place);
}

QPushButton* MakeButton(QWidget* parent, const QString& name,
                        const QString& caption, TwipsRect place) {
  auto* button = Placed(new QPushButton(caption, parent), name, place);
  // Enter presses the focused button, in the main window as in dialogs.
  button->setAutoDefault(true);
  return button;
}

QLineEdit* MakeText(QWidget* parent, const QString& name, TwipsRect place) {
  return Placed(new QLineEdit(parent), name, place);
}

ComboBox* MakeCombo(QWidget* parent, const QString& name,
                    const QStringList& items, TwipsRect place) {
  auto* combo = Placed(new ComboBox(parent), name, place);
  combo->setEditable(true);
  // What the user types is the option, letter for letter: no completion
  // that changes its case and no typed text added to the list.
  combo->setCompleter(nullptr);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(items);
  return combo;
}

QGroupBox* MakeGroup(QWidget* parent, const QString& name,
                     const QString& caption, TwipsRect place) {
  return Placed(new QGroupBox(caption, parent), name, place);
}

QWidget* MakeShape(QWidget* parent, const QString& name, mapgen::Colour fill,
                   TwipsRect place) {
  auto* shape = Placed(new QWidget(parent), name, place);
  SetBackColor(shape, fill);
  return shape;
}

}  // namespace tessary
