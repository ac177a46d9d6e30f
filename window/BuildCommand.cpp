// The Build command: the map is built on a worker from a copy of the
// options, while the window shows the folder being written and the
// progress; the worker also writes the page to the temporary file.
#include <QAction>
#include <QLineEdit>
#include <QPushButton>

#include "BuildRunner.h"
#include "FolderViews.h"
#include "Paths.h"
#include "frmTessary.h"

namespace tessary {

void frmTessary::InitBuild() {
  connect(cmdBuildMap, &QPushButton::clicked, this,
          &frmTessary::cmdBuildMap_Click);
  connect(builder_, &BuildRunner::progress, this, &frmTessary::BuildProgress);
  connect(builder_, &BuildRunner::finished, this, &frmTessary::BuildFinished);
}

void frmTessary::cmdBuildMap_Click() {
  if (builder_->running()) return;
  cmdBuildMap->setEnabled(false);
  mnuBuildMap->setEnabled(false);
  ShowProgress(true, 0);
  RemovePreview();
  buildBase_ = Dir1->path();
  buildWalks_ = settings_.chkShowSubfolders != mapgen::kUnchecked;
  changedDuringBuild_ = false;
  builder_->start(settings_, mapgen::TempMapPath(buildBase_.toStdString()));
}

void frmTessary::BuildProgress(const QString& folder, double fraction) {
  txtDir->setText(folder);
  ShowProgress(true, fraction);
}

void frmTessary::BuildFinished(const mapgen::BuildResult& result) {
  if (result.outcome != mapgen::BuildResult::Outcome::kBuilt) {
    const mapgen::Failure& failure = result.failure;
    desktop_.messageBoxes.Show(
        this, {"Build Map",
               QString::fromStdString(failure.path + "\n" + failure.reason),
               MessageIcon::kExclamation});
    ShowProgress(false, 0);
    ReturnToBaseFolder();
    return;
  }
  SetTempMapPath(
      QString::fromStdString(mapgen::TempMapPath(buildBase_.toStdString())));
  ReturnToBaseFolder();
  ShowProgress(false, 0);
  // The page holds the options as they were at Build: one changed since
  // is not in it, so the map is still out of date.
  if (changedDuringBuild_) {
    SetButtons(1);
    cmdBuildMap->setFocus();
    return;
  }
  SetButtons(2);
  cmdPreview->setFocus();
}

// A build of the subfolders showed each of them; the folder display
// returns to the base folder, or, when that is gone, to the folder the tree
// still shows, and an unlocked output name follows it. A build of the base
// folder alone moved nothing, so a name the user typed stays.
void frmTessary::ReturnToBaseFolder() {
  if (!buildWalks_) {
    txtDir->setText(Dir1->path());
    return;
  }
  QString reason;
  if (!ChangeFolder(buildBase_, reason)) SetForNewMap(Dir1->path());
}

}  // namespace tessary
