#pragma once

#include <QString>

namespace tessary {

// Where the help page is for a program in `programFolder`: beside the
// program, as the build tree has it, else in ../share/tessary beside the
// program's folder, as installation puts it. When neither exists, the page
// beside the program, so that the browser names the file it misses.
QString HelpPagePath(const QString& programFolder);

}  // namespace tessary
