#include "TextEditor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <optional>

namespace tessary {
namespace {

const char* const kEditors[] = {
    "gnome-text-editor", "gedit", "kate",  "kwrite",
    "mousepad",          "xed",   "pluma", "featherpad"};

// What an installed desktop entry runs, and whether it needs a terminal.
struct DesktopEntry {
  QString exec;
  bool terminal = false;
};

std::optional<DesktopEntry> ReadEntry(const QString& id) {
  QFile file(QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  DesktopEntry entry;
  bool inMainGroup = false;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith('[')) inMainGroup = line == "[Desktop Entry]";
    if (!inMainGroup) continue;
    if (line.startsWith("Exec=")) entry.exec = line.mid(5);
    if (line.startsWith("Terminal=")) entry.terminal = line.mid(9) == "true";
  }
  if (entry.exec.isEmpty()) return std::nullopt;
  return entry;
}

// The entry registered for plain text ("org.gnome.gedit.desktop"), if any.
std::optional<DesktopEntry> RegisteredEditor(ProgramLauncher& launcher) {
  const QString entries =
      launcher.Output("xdg-mime", {"query", "default", "text/plain"});
  const QString id = entries.section('\n', 0, 0).section(';', 0, 0).trimmed();
  if (id.isEmpty()) return std::nullopt;
  return ReadEntry(id);
}

// The entry's command line for one file: the codes for files and
// addresses stand for the file, the other codes are dropped.
QStringList CommandFor(const QString& exec, const QString& path) {
  QStringList command;
  for (QString word : QProcess::splitCommand(exec)) {
    if (QStringList{"%f", "%F", "%u", "%U"}.contains(word)) {
      command << path;
    } else if (word.size() != 2 || word[0] != '%') {
      command << word.replace("%%", "%");
    }
  }
  return command;
}

// A terminal program such as vim runs in the user's terminal emulator.
QList<QStringList> EntryCommands(const DesktopEntry& entry,
                                 const QString& path) {
  const QStringList command = CommandFor(entry.exec, path);
  if (command.isEmpty()) return {};
  if (!entry.terminal) return {command};
  QList<QStringList> inTerminals;
  for (const QString& terminal : {qEnvironmentVariable("TERMINAL"),
                                  QStringLiteral("x-terminal-emulator")}) {
    if (!terminal.isEmpty()) {
      inTerminals.append(QStringList{terminal, "-e"} + command);
    }
  }
  return inTerminals;
}

}  // namespace

QList<QStringList> TextEditorCommands(const QString& path,
                                      ProgramLauncher& launcher) {
  QList<QStringList> commands;
  if (const std::optional<DesktopEntry> registered =
          RegisteredEditor(launcher)) {
    commands = EntryCommands(*registered, path);
  }
  for (const char* editor : kEditors) {
    commands.append({QString::fromLatin1(editor), path});
  }
  // Whatever the desktop opens the file with, as a last resort.
  commands.append({"gio", "open", path});
  return commands;
}

}  // namespace tessary
