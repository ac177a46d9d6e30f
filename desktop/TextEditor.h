#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "ProgramLauncher.h"

namespace tessary {

// The command lines that may open `path` in the desktop's text editor,
// best first: the application registered for plain text (a terminal
// program in the user's terminal emulator), then the usual editors, then
// what `gio open` chooses. Asks xdg-mime through `launcher` and reads
// desktop entries, which may take a few seconds: the window asks off its
// own thread, then starts the first that starts.
QList<QStringList> TextEditorCommands(const QString& path,
                                      ProgramLauncher& launcher);

}  // namespace tessary
