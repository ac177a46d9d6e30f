#pragma once

#include <QString>

#include "Desktop.h"

class QWidget;

namespace tessary {

// Starts a web browser on a file path or a web address: the desktop's
// default browser, then the usual browser programs, and as a last resort
// one the user picks. The browser runs on its own; nothing waits for it.
void OpenBrowser(const QString& filename, Desktop& desktop, QWidget* parent);

}  // namespace tessary
