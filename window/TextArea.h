#pragma once

#include <QPlainTextEdit>

namespace tessary {

// A box of several lines that Tab and Shift+Tab leave, as every other
// control. Ctrl+Tab types a tab character where one belongs in the text;
// elsewhere it leaves the box too.
class TextArea : public QPlainTextEdit {
  Q_OBJECT
 public:
  enum class Tabs { kTyped, kNone };
  TextArea(QWidget* parent, Tabs tabs);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Tabs tabs_;
};

}  // namespace tessary
