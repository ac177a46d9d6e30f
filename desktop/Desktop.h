#pragma once

#include "CommonDialog.h"
#include "Drives.h"
#include "MessageBoxes.h"
#include "ProgramLauncher.h"

namespace tessary {

// Everything the windows ask of the desktop around them. The program hands
// the real ones to every window; tests hand scripted fakes.
struct Desktop {
  CommonDialog& CommonDialog1;
  MessageBoxes& messageBoxes;
  ProgramLauncher& launcher;
  Drives& drives;
};

// The title of every box that names no operation of its own.
inline const QString kAppTitle = QStringLiteral("Tessary");

// The maker's home page, opened from the windows' maker labels, the page
// with the latest version, and the address for questions.
inline const QString kHomePage = QStringLiteral("https://corvale.example");
inline const QString kDownloadPage = kHomePage + "/freesoftware.htm";
inline const QString kContactAddress = QStringLiteral("info@corvale.example");

}  // namespace tessary
