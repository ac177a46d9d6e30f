#pragma once

#include "Desktop.h"

namespace tessary {

class QtCommonDialog : public CommonDialog {
 public:
  ColorAnswer ShowColor(QWidget* parent, const QColor& initial) override;
  FileAnswer ShowOpen(QWidget* parent, const FileOpenRequest& request) override;
  FileAnswer ShowSave(QWidget* parent, const FileOpenRequest& request) override;
};

class QtMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(QWidget* parent, const Message& message) override;
};

class QtProgramLauncher : public ProgramLauncher {
 public:
  bool Start(const QString& program, const QStringList& arguments,
             QString& reason) override;
  QString Output(const QString& program, const QStringList& arguments) override;
};

class QtDrives : public Drives {
 public:
  std::vector<Drive> Browsable() override;
};

// The real desktop, as the program uses it.
class QtDesktop {
 public:
  Desktop& desktop() { return desktop_; }

 private:
  QtCommonDialog dialog_;
  QtMessageBoxes messageBoxes_;
  QtProgramLauncher launcher_;
  QtDrives drives_;
  Desktop desktop_{dialog_, messageBoxes_, launcher_, drives_};
};

}  // namespace tessary
