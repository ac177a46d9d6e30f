#pragma once

#include <QString>

#include "ProgramLauncher.h"

namespace tessary {

// Opens `path` in the desktop's text editor: the application registered
// for plain text (a terminal program in the user's terminal emulator),
// else the first of the usual editors that starts, else what `gio open`
// chooses. The editor runs on its own and edits the file itself. False
// when nothing could be started.
bool OpenTextEditor(const QString& path, ProgramLauncher& launcher);

}  // namespace tessary
