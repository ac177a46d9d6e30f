#pragma once

#include <QString>

class QWidget;

namespace tessary {

enum class MessageIcon { kNone, kInformation, kQuestion, kExclamation,
                         kCritical };
enum class MessageButtons { kOk, kYesNo };
enum class MessageAnswer { kOk, kYes, kNo };

struct Message {
  QString title;  // shown as given, also when empty
  QString text;
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
};

// The one way the program tells the user something and waits for an
// answer, so that tests can answer instead.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual MessageAnswer Show(QWidget* parent, const Message& message) = 0;
};

}  // namespace tessary
