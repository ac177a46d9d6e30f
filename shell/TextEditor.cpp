#include "TextEditor.h"

namespace tessary {
namespace {

const char* const kEditors[] = {
    "gnome-text-editor", "gedit", "kate",  "kwrite",
    "mousepad",          "xed",   "pluma", "featherpad"};

// The desktop entry registered for plain text ("org.gnome.gedit.desktop"),
// or empty when none is.
QString RegisteredEditor(ProgramLauncher& launcher) {
  const QString entries =
      launcher.Output("xdg-mime", {"query", "default", "text/plain"});
  return entries.section('\n', 0, 0).section(';', 0, 0).trimmed();
}

}  // namespace

bool OpenTextEditor(const QString& path, ProgramLauncher& launcher) {
  QString reason;
  const QString registered = RegisteredEditor(launcher);
  if (!registered.isEmpty() &&
      launcher.Start("gtk-launch", {registered, path}, reason)) {
    return true;
  }
  for (const char* editor : kEditors) {
    if (launcher.Start(QString::fromLatin1(editor), {path}, reason)) {
      return true;
    }
  }
  return false;
}

}  // namespace tessary
