#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tessary {

// Starts other programs (browser, editor, mail, system tools) without
// waiting for them or watching them afterwards.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;

  // Each argument reaches the program as one word, blanks and all. False,
  // with the system's reason, only when the program could not be started.
  virtual bool Start(const QString& program, const QStringList& arguments,
                     QString& reason) = 0;

  // Runs a short query program to its end and gives what it printed on
  // standard output; empty when it could not run, failed, or did not end
  // within a few seconds. It may be asked from any thread.
  virtual QString Output(const QString& program,
                         const QStringList& arguments) = 0;
};

// Starts the first of the command lines (program, then its arguments) that
// starts. False, with the last reason, when none did.
bool StartFirst(const QList<QStringList>& commands, ProgramLauncher& launcher,
                QString& reason);

}  // namespace tessary
