#pragma once

#include <QMap>
#include <deque>
#include <vector>

#include "Desktop.h"

namespace tessary {

// Answers from a script, first to last; an unscripted dialog is
// cancelled. Remembers what the dialogs were asked.
class FakeCommonDialog : public CommonDialog {
 public:
  ColorAnswer ShowColor(QWidget*, const QColor& initial) override {
    initialColours.push_back(initial);
    return Next(colours);
  }
  FileAnswer ShowOpen(QWidget*, const FileOpenRequest& request) override {
    fileRequests.push_back(request);
    return Next(files);
  }
  FileAnswer ShowSave(QWidget*, const FileOpenRequest& request) override {
    saveRequests.push_back(request);
    return Next(files);
  }

  std::deque<ColorAnswer> colours;
  std::vector<QColor> initialColours;
  std::deque<FileAnswer> files;
  std::vector<FileOpenRequest> fileRequests, saveRequests;

 private:
  template <typename Answer>
  static Answer Next(std::deque<Answer>& script) {
    if (script.empty()) return {};
    Answer answer = script.front();
    script.pop_front();
    return answer;
  }
};

// Every box gets `answer`; their texts are kept.
class FakeMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(QWidget*, const Message& message) override {
    shown.push_back(message);
    texts << message.text;
    return answer;
  }

  std::vector<Message> shown;
  QStringList texts;
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
    reason = "No such file or directory";
    return startable.contains(program);
  }
  QString Output(const QString& program, const QStringList&) override {
    return printed.value(program);
  }

  QMap<QString, QString> printed;
  QStringList startable, tried;
};

// The root alone, unless a test lists more.
class FakeDrives : public Drives {
 public:
  std::vector<Drive> Browsable() override { return list; }
  std::vector<Drive> list = {{"/", "/"}};
};

struct FakeDesktop {
  FakeCommonDialog dialog;
  FakeMessageBoxes messageBoxes;
  FakeLauncher launcher;
  FakeDrives drives;
  Desktop desktop{dialog, messageBoxes, launcher, drives};
};

}  // namespace tessary
