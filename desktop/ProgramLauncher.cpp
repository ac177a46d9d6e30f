#include "ProgramLauncher.h"

namespace tessary {

bool StartFirst(const QList<QStringList>& commands, ProgramLauncher& launcher,
                QString& reason) {
  for (const QStringList& command : commands) {
    if (!command.isEmpty() &&
        launcher.Start(command.first(), command.mid(1), reason)) {
      return true;
    }
  }
  return false;
}

}  // namespace tessary
