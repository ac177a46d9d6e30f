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
  ColorAnswer ShowColor(QWidget*) override { return Next(colours); }
  FileAnswer ShowOpen(QWidget*, const FileOpenRequest& request) override {
    fileRequests.push_back(request);
    return Next(files);
  }
  FileAnswer ShowSave(QWidget*, const FileOpenRequest& request) override {
    saveRequests.push_back(request);
    return Next(files);
  }

  std::deque<ColorAnswer> colours;
  std::deque<FileAnswer> files;
  std::vector<FileOpenRequest> fileRequests;
  std::vector<FileOpenRequest> saveRequests;

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

  QStringList texts() const {
    QStringList all;
    for (const Message& message : shown) all << message.text;
    return all;
  }

  std::vector<Message> shown;
  MessageAnswer answer = MessageAnswer::kOk;
};

// Starts nothing; a program counts as started when it is listed in
// `startable`. Each try is kept as the program and its arguments joined
// by "|". A query prints what `printed` holds for its program.
class FakeLauncher : public ProgramLauncher {
 public:
  bool Start(const QString& program, const QStringList& arguments,
             QString& reason) override {
    tried << (QStringList{program} + arguments).join('|');
    if (startable.contains(program)) return true;
    reason = "No such file or directory";
    return false;
  }

  QString Output(const QString& program, const QStringList&) override {
    return printed.value(program);
  }

  QMap<QString, QString> printed;
  QStringList startable;
  QStringList tried;
};

struct FakeDesktop {
  FakeCommonDialog dialog;
  FakeMessageBoxes messageBoxes;
  FakeLauncher launcher;
  Desktop desktop{dialog, messageBoxes, launcher};
};

}  // namespace tessary
