#include "TextArea.h"

#include <QKeyEvent>

namespace tessary {

TextArea::TextArea(QWidget* parent, Tabs tabs)
    : QPlainTextEdit(parent), tabs_(tabs) {
  setTabChangesFocus(true);
}

void TextArea::keyPressEvent(QKeyEvent* event) {
  const bool control = event->modifiers() & Qt::ControlModifier;
  const bool tab = event->key() == Qt::Key_Tab;
  const bool backTab = event->key() == Qt::Key_Backtab;
  if (!control || !(tab || backTab)) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  if (tab && tabs_ == Tabs::kTyped) {
    insertPlainText(QStringLiteral("\t"));
  } else {
    focusNextPrevChild(tab);
  }
}

}  // namespace tessary
