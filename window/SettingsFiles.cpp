// Settings files: a map's options kept in a file the user names, in the
// form tessary-cli reads and writes, so a map set up here can be built
// from a script.
#include <QAction>
#include <QFileInfo>

#include "FolderViews.h"
#include "MapField.h"
#include "MapFileWriter.h"
#include "NativePath.h"
#include "ReadWholeFile.h"
#include "SettingsCheck.h"
#include "frmTessary.h"

namespace tessary {
namespace {

const QStringList kSettingsFilters = {"Tessary settings (*.tessary)",
                                      "All Files (*)"};
const QString kSettingsSuffix = QStringLiteral("tessary");

// Far more than every field holds; a larger file is no settings file.
constexpr std::size_t kLargestSettingsFile = 16 << 20;

// The settings a file holds, over the defaults; false with the file and
// line at fault, or the system's reason, when it cannot be read whole.
bool ReadSettings(const QString& path, mapgen::MapSettings& settings,
                  Message& problem) {
  const auto text =
      mapgen::ReadWholeFile(NativePath(path), kLargestSettingsFile + 1);
  if (!text) {
    problem = {"Problem with file",
               path + "\n" + QString::fromStdString(text.failure().reason),
               MessageIcon::kExclamation};
    return false;
  }
  if (text->size() > kLargestSettingsFile) {
    problem = {"Problem with file", path + "\nLarger than a settings file",
               MessageIcon::kExclamation};
    return false;
  }
  const auto records = mapgen::ParseSettingsText(
      path.toStdString(), *text, mapgen::SettingsInto(settings));
  if (!records) {
    const mapgen::Failure& wrong = records.failure();
    problem = {"Open Settings",
               QString::fromStdString(wrong.path + ": " + wrong.reason),
               MessageIcon::kExclamation};
    return false;
  }
  if (const auto usable = mapgen::CheckSettings(settings); !usable) {
    problem = {"Open Settings",
               path + ": " + QString::fromStdString(usable.failure().reason),
               MessageIcon::kExclamation};
    return false;
  }
  return true;
}

}  // namespace

void frmTessary::InitSettingsFiles() {
  connect(mnuOpenSettings, &QAction::triggered, this,
          &frmTessary::mnuOpenSettings_Click);
  connect(mnuSaveSettings, &QAction::triggered, this,
          &frmTessary::mnuSaveSettings_Click);
}

// A file that cannot be read, or holds one line that is wrong, changes
// nothing: the options stay as they were.
void frmTessary::mnuOpenSettings_Click() {
  const FileAnswer answer = desktop_.CommonDialog1.ShowOpen(
      this,
      {"Open Settings", ShownPath(Dir1->path()), {}, kSettingsFilters, 0});
  if (!Chosen(answer)) return;
  mapgen::MapSettings loaded;
  Message problem;
  if (!ReadSettings(answer.path, loaded, problem)) {
    desktop_.messageBoxes.Show(this, problem);
    return;
  }
  settingsFile_ = answer.path;
  ShowSettings(loaded);
}

// A name typed without its ending gets the ending of settings files.
void frmTessary::mnuSaveSettings_Click() {
  const QString suggested = settingsFile_.isEmpty()
                                ? QString("sitemap.") + kSettingsSuffix
                                : QFileInfo(settingsFile_).fileName();
  const QString folder = settingsFile_.isEmpty()
                             ? ShownPath(Dir1->path())
                             : QFileInfo(settingsFile_).absolutePath();
  const FileAnswer answer = desktop_.CommonDialog1.ShowSave(
      this, {"Save Settings", folder, suggested, kSettingsFilters, 0});
  if (!Chosen(answer)) return;
  QString path = answer.path;
  if (QFileInfo(path).suffix().isEmpty()) path += "." + kSettingsSuffix;
  std::string text;
  mapgen::AppendSettingsText(text, settings());
  if (const auto written = mapgen::WriteMapFile(fs_, NativePath(path), text);
      !written) {
    const mapgen::Failure& failure = written.failure();
    desktop_.messageBoxes.Show(
        this, {"Problem with file",
               QString::fromStdString(failure.path + "\n" + failure.reason),
               MessageIcon::kExclamation});
    return;
  }
  settingsFile_ = path;
}

}  // namespace tessary
