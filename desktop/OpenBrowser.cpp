#include "OpenBrowser.h"

namespace tessary {
namespace {

// Tried in order; the first that starts ends the search. What the browser
// then makes of the file is not checked.
const char* const kBrowsers[] = {"xdg-open", "sensible-browser",
                                 "x-www-browser", "firefox", "chromium"};

void AskForBrowser(const QString& filename, Desktop& desktop, QWidget* parent) {
  const FileAnswer answer = desktop.CommonDialog1.ShowOpen(
      parent, {QStringLiteral("Select Web Browser"),
               QStringLiteral("/usr/bin"),
               QString(),
               {QStringLiteral("All Files (*)")},
               0});
  if (answer.outcome == DialogOutcome::kFailed) {
    desktop.messageBoxes.Show(parent, {QString(), answer.error});
    return;
  }
  if (answer.outcome != DialogOutcome::kChosen) return;
  QString reason;
  if (!desktop.launcher.Start(answer.path, {filename}, reason)) {
    desktop.messageBoxes.Show(
        parent, {QStringLiteral("Cannot Open Selected Browser"), reason});
  }
}

}  // namespace

void OpenBrowser(const QString& filename, Desktop& desktop, QWidget* parent) {
  QList<QStringList> commands;
  for (const char* browser : kBrowsers) {
    commands.append({QString::fromLatin1(browser), filename});
  }
  QString reason;
  if (!StartFirst(commands, desktop.launcher, reason)) {
    AskForBrowser(filename, desktop, parent);
  }
}

}  // namespace tessary
