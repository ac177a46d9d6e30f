#pragma once

#include <QMap>
#include <deque>
#include <vector>

#include "Desktop.h"

namespace tessary {

// Dialogs that answer from a script and remember what they were asked.
// An unscripted dialog is cancelled.
class FakeCommonDialog : public CommonDialog {
 public:
  ColorAnswer ShowColor(QWidget*) override {
    ++colourDialogs;
    return Next(colours);
  }
  FileAnswer ShowOpen(QWidget*, const FileOpenRequest& request) override {
    fileRequests.push_back(request);
    return Next(files);
  }

  std::deque<ColorAnswer> colours;
  std::deque<FileAnswer> files;
  int colourDialogs = 0;
  std::vector<FileOpenRequest> fileRequests;

 private:
  template <typename Answer>
  static Answer Next(std::deque<Answer>& script) {
    if (script.empty()) return {};
    Answer answer = script.front();
    script.pop_front();
    return answer;
  }
};

class FakeMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(QWidget*, const Message& message) override {
    shown.push_back(message);
    return answer;
  }

  std::vector<Message> shown;
  MessageAnswer answer = MessageAnswer::kOk;
};

// Starts nothing; a program counts as started when it is listed in
// `startable`, and a query prints what `outputs` holds for it.
class FakeLauncher : public ProgramLauncher {
 public:
  bool Start(const QString& program, const QStringList& arguments,
             QString& reason) override {
    tried.push_back(QStringList{program} + arguments);
    if (startable.contains(program)) return true;
    reason = "No such file or directory";
    return false;
  }

  QString Output(const QString& program, const QStringList&) override {
    return outputs.value(program);
  }

  QStringList startable;
  std::vector<QStringList> tried;
  QMap<QString, QString> outputs;  // what each query program prints
};

struct FakeDesktop {
  FakeCommonDialog dialog;
  FakeMessageBoxes messageBoxes;
  FakeLauncher launcher;
  Desktop desktop{dialog, messageBoxes, launcher};
};

}  // namespace tessary
