#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class QWidget;

namespace tessary {

// How a dialog ended. A cancel is a normal outcome and is never reported.
enum class DialogOutcome { kChosen, kCancelled, kFailed };

struct ColorAnswer {
  DialogOutcome outcome = DialogOutcome::kCancelled;
  QColor color;   // when chosen
  QString error;  // the dialog's own description, when failed
};

struct FileOpenRequest {
  QString title;
  QString initialFolder;
  QString initialFileName;
  QStringList filters;  // "Image Files (*.jpg *.gif)"
  int filterIndex = 0;  // the filter selected at first
};

struct FileAnswer {
  DialogOutcome outcome = DialogOutcome::kCancelled;
  QString path;   // the chosen file's full path, which need not exist
  QString error;  // the dialog's own description, when failed
};

// The system's common dialogs, shared by every chooser of the program so
// that tests can answer them.
class CommonDialog {
 public:
  virtual ~CommonDialog() = default;

  // Starts on `initial`, the colour being changed.
  virtual ColorAnswer ShowColor(QWidget* parent, const QColor& initial) = 0;

  virtual FileAnswer ShowOpen(QWidget* parent,
                              const FileOpenRequest& request) = 0;

  // The same request, for a file to be written: the dialog says so, and
  // asks nothing about a file that exists.
  virtual FileAnswer ShowSave(QWidget* parent,
                              const FileOpenRequest& request) = 0;
};

}  // namespace tessary
