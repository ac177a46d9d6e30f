#pragma once

#include <QWidget>

#include "Controls.h"

namespace tessary {

// The strip that holds the tab labels; screen readers hear it as a list
// of page tabs.
class TabStrip : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
};

// One label of the tab strip. Only the current tab takes the focus, so the
// strip is one stop for Tab; from there the arrow keys, Home and End ask
// for another tab. Screen readers hear a page tab, selected when current.
class TabLabel : public ClickLabel {
  Q_OBJECT
 public:
  TabLabel(const QString& caption, QWidget* parent);

  void setCurrent(bool current);
  bool isCurrent() const { return current_; }

 signals:
  // The tab `step` places on (-1 left, 1 right) or, with `toEnd`, the
  // first or last.
  void stepRequested(int step, bool toEnd);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool current_ = false;
};

}  // namespace tessary
