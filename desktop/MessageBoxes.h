#pragma once

#include <QString>

class QWidget;

namespace tessary {

enum class MessageIcon {
  kNone,
  kInformation,
  kQuestion,
  kExclamation,
  kCritical
};
// With a Cancel button, Escape and the box's close button mean Cancel.
enum class MessageButtons { kOk, kYesNo, kYesNoCancel };
enum class MessageAnswer { kOk, kYes, kNo, kCancel };

// Both texts are shown as plain text, as they may hold any file's name.
struct Message {
  QString title;  // shown as given, also when empty
  QString text;
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  // A list too long for the text, shown open in a scrolling box below it.
  QString details{};
};

// The one way the program tells the user something and waits for an
// answer, so that tests can answer instead.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(QWidget* parent, const Message& message) = 0;
};

}  // namespace tessary
