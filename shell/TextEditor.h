#pragma once

#include <QString>

#include "ProgramLauncher.h"

namespace tessary {

// Opens `path` in the desktop's text editor: the application registered
// for plain text, else the first of the usual editors that starts. The
// editor runs on its own and edits the file itself. False when no editor
// could be started.
bool OpenTextEditor(const QString& path, ProgramLauncher& launcher);

}  // namespace tessary
