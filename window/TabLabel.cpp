#include "TabLabel.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tessary {
namespace {

class TabStripAccessible : public QAccessibleWidget {
 public:
  explicit TabStripAccessible(QWidget* strip)
      : QAccessibleWidget(strip, QAccessible::PageTabList) {}
};

class TabLabelAccessible : public QAccessibleWidget {
 public:
  explicit TabLabelAccessible(TabLabel* label)
      : QAccessibleWidget(label, QAccessible::PageTab) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) return label()->text();
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.selectable = true;
    state.selected = label()->isCurrent();
    return state;
  }

  QStringList actionNames() const override { return {pressAction()}; }

  void doAction(const QString& action) override {
    if (action == pressAction()) emit label()->clicked();
  }

 private:
  TabLabel* label() const { return static_cast<TabLabel*>(widget()); }
};

QAccessibleInterface* TabInterfaces(const QString& className, QObject* object) {
  if (className == QLatin1String("tessary::TabLabel")) {
    return new TabLabelAccessible(static_cast<TabLabel*>(object));
  }
  if (className == QLatin1String("tessary::TabStrip")) {
    return new TabStripAccessible(static_cast<QWidget*>(object));
  }
  return nullptr;
}

}  // namespace

TabLabel::TabLabel(const QString& caption, QWidget* parent)
    : ClickLabel(caption, parent) {
  static const bool installed = [] {
    QAccessible::installFactory(TabInterfaces);
    return true;
  }();
  Q_UNUSED(installed);
  setFocusPolicy(Qt::NoFocus);
}

void TabLabel::setCurrent(bool current) {
  current_ = current;
  setFocusPolicy(current ? Qt::TabFocus : Qt::NoFocus);
  QAccessible::State changed;
  changed.selected = true;
  QAccessibleStateChangeEvent event(this, changed);
  QAccessible::updateAccessibility(&event);
}

// The focus shows as the style's focus frame inside the label's border.
void TabLabel::paintEvent(QPaintEvent* event) {
  ClickLabel::paintEvent(event);
  if (!hasFocus()) return;
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  option.rect = rect().adjusted(3, 2, -3, -2);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

void TabLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      emit stepRequested(-1, false);
      return;
    case Qt::Key_Right:
      emit stepRequested(1, false);
      return;
    case Qt::Key_Home:
      emit stepRequested(-1, true);
      return;
    case Qt::Key_End:
      emit stepRequested(1, true);
      return;
    default:
      ClickLabel::keyPressEvent(event);
  }
}

}  // namespace tessary
