// The Build command: the map is built off the window's thread from a copy
// of the options, while the window shows the folder being written and the
// progress; the same work writes the page to the temporary file.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "BackgroundWork.h"
#include "FileCopy.h"
#include "FileSystem.h"
#include "FolderViews.h"
#include "NativePath.h"
#include "PageStaging.h"
#include "PathEdit.h"
#include "Paths.h"
#include "SettingsCheck.h"
#include "frmTessary.h"

namespace tessary {
namespace {

using mapgen::BuildResult;

// Passes each folder written on to the window through the promise, which
// lets some 25 reports a second through; cancelling the promise stops the
// build. What the build passed over is kept for the window's warnings.
class PromiseObserver : public mapgen::BuildObserver {
 public:
  PromiseObserver(QPromise<WindowBuild>& promise, BuildWarnings& warnings)
      : promise_(promise), warnings_(warnings) {}

  void FolderWritten(const std::string& folder, std::size_t done,
                     std::size_t total) override {
    if (total != total_) {
      total_ = total;
      promise_.setProgressRange(0, Steps(total));
    }
    promise_.setProgressValueAndText(Steps(done), ShownPath(folder));
  }

  void Unreadable(const mapgen::Failure& failure) override {
    const bool outside = failure.reason == mapgen::kLeadsOutsideReason;
    warnings_.Add(outside ? BuildWarnings::Kind::kLeadsOutside
                          : BuildWarnings::Kind::kUnreadable,
                  failure);
  }

  void Warning(const std::string& text) override {
    warnings_.Add(BuildWarnings::Kind::kSitemap, mapgen::Failure({}, text));
  }

  bool StopRequested() const override { return promise_.isCanceled(); }

 private:
  static int Steps(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
  }

  QPromise<WindowBuild>& promise_;
  BuildWarnings& warnings_;
  std::size_t total_ = 0;
};

// Off the window's thread: it touches no widget. A page written for a
// build the window has abandoned is nobody's, and so is the empty file
// that held a staged page's name: whichever of the two comes second, the
// build or the abandoning, removes it.
void BuildPage(QPromise<WindowBuild>& promise, const mapgen::FileSystem& fs,
               const mapgen::MapSettings& settings, const StagedPage& page,
               const mapgen::PagePlacement& placement,
               std::atomic_flag& handedOver) {
  WindowBuild build;
  PromiseObserver observer(promise, build.warnings);
  build.result =
      mapgen::BuildMapFile(settings, fs, observer, page.path, placement);
  const bool left =
      build.result.outcome == BuildResult::Outcome::kBuilt || page.reserved;
  if (left && handedOver.test_and_set()) RemoveIfThere(fs, page.path);
  promise.addResult(std::move(build));
}

// The window's words for a setting no build can use: the captions the
// user sees, never a field's name.
QString ProblemInWords(const mapgen::Failure& problem, const QWidget* control) {
  if (problem.path == "txtSiteUrl" && problem.reason.starts_with("an XML")) {
    return "Also write sitemap.xml needs a Site URL: the address the site "
           "starts at, such as https://example.org/.";
  }
  QString reason = QString::fromStdString(problem.reason);
  // A value a field's check refuses: "txtSiteUrl takes ..." reads "Site
  // URL takes ...".
  const QString field = QString::fromStdString(problem.path);
  if (control != nullptr && reason.startsWith(field + ' ')) {
    reason.replace(0, field.size(), control->accessibleName());
  }
  if (!reason.isEmpty()) reason[0] = reason[0].toUpper();
  return reason + '.';
}

}  // namespace

void frmTessary::InitBuild() {
  connect(cmdBuildMap, &QPushButton::clicked, this,
          &frmTessary::cmdBuildMap_Click);
  connect(build_, &QFutureWatcherBase::progressValueChanged, this,
          &frmTessary::BuildProgress);
  connect(build_, &QFutureWatcherBase::finished, this,
          &frmTessary::BuildFinished);
}

void frmTessary::cmdBuildMap_Click() {
  if (build_->isRunning() || copy_->isRunning()) return;
  TakeTypedText();
  if (!CheckBaseFolder() || !UsableSettings()) return;
  buildBase_ = Dir1->path();
  buildWalks_ = settings_.chkShowSubfolders != mapgen::kUnchecked;
  QString problem;
  if (!StagePage(fs_, buildBase_, SaveFolderAfterBuild(), buildPage_,
                 problem)) {
    desktop_.messageBoxes.Show(
        this, {"Build Map", problem, MessageIcon::kExclamation});
    return;
  }
  cmdBuildMap->setEnabled(false);
  mnuBuildMap->setEnabled(false);
  ShowWarnings({});
  ShowProgress(true, 0);
  RemovePreview();
  changedDuringBuild_ = false;
  const std::string page = buildPage_.path;
  pageHandover_ = std::make_shared<std::atomic_flag>();
  // The page's XML sitemap waits beside the built page until Save puts it
  // beside the saved one.
  buildSitemap_ = settings_.txtSitemapXml.empty()
                      ? nullptr
                      : std::make_shared<SitemapAtSave>(
                            mapgen::ParentFolder(page), settings_);
  mapgen::PagePlacement placement;
  placement.folder = SaveFolderAfterBuild();
  placement.stagedSitemap = buildSitemap_ ? &buildSitemap_->files : nullptr;
  work_->Start(build_, [&fs = fs_, settings = settings_, page = buildPage_,
                        placement, sitemap = buildSitemap_,
                        handover = pageHandover_](auto& promise) {
    BuildPage(promise, fs, settings, page, placement, *handover);
  });
}

// Where Save will put the page, which its links lead from: a build that
// shows each subfolder in turn leaves an unlocked name on the base
// folder's map.
std::string frmTessary::SaveFolderAfterBuild() const {
  const bool nameFollows =
      buildWalks_ && chkLockFilename->checkState() == Qt::Unchecked;
  return nameFollows ? buildBase_ : mapgen::ParentFolder(OutputPath());
}

// A setting no build can use, such as an XML sitemap without the site's
// address, is told of, and the user is led to where it is set.
bool frmTessary::UsableSettings() {
  auto usable = mapgen::CheckFields(settings_);
  if (usable) usable = mapgen::CheckSettings(settings_);
  if (usable) return true;
  const mapgen::Failure& problem = usable.failure();
  auto* control = findChild<QWidget*>(QString::fromStdString(problem.path));
  desktop_.messageBoxes.Show(this,
                             {"Build Map", ProblemInWords(problem, control),
                              MessageIcon::kExclamation});
  for (int tab = 0; tab < kTabs; ++tab) {
    if (fraOptions[tab]->isAncestorOf(control)) ShowControl(tab, control);
  }
  return false;
}

// The page is the window's from now on, and a build abandoned later no
// longer concerns it.
void frmTessary::AbandonBuild() {
  build_->cancel();
  if (pageHandover_ && pageHandover_->test_and_set()) {
    RemoveIfThere(fs_, buildPage_.path);
  }
  pageHandover_.reset();
  buildSitemap_.reset();
}

void frmTessary::BuildProgress(int done) {
  txtDir->setText(build_->progressText());
  const int total = build_->progressMaximum();
  ShowProgress(true, total > 0 ? static_cast<double>(done) / total : 0);
}

void frmTessary::BuildFinished() {
  // Abandoned by the program's end: nobody is left to tell.
  if (build_->isCanceled() || leaving_) return;
  pageHandover_.reset();
  const BuildResult result = build_->result().result;
  ShowWarnings(build_->result().warnings);
  // The sitemap of the built map, or none: an earlier one's staged files
  // go with it.
  sitemap_ = result.outcome == BuildResult::Outcome::kBuilt
                 ? std::move(buildSitemap_)
                 : nullptr;
  buildSitemap_.reset();
  if (result.outcome != BuildResult::Outcome::kBuilt) {
    const mapgen::Failure& failure = result.failure;
    desktop_.messageBoxes.Show(this,
                               {"Build Map",
                                ShownPath(failure.path) + "\n" +
                                    QString::fromStdString(failure.reason),
                                MessageIcon::kExclamation});
    if (buildPage_.reserved) RemoveIfThere(fs_, buildPage_.path);
    ShowProgress(false, 0);
    ReturnToBaseFolder();
    return;
  }
  SetTempMapPath(buildPage_.path);
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
    txtDir->setText(ShownPath(Dir1->path()));
    return;
  }
  QString reason;
  if (!ChangeFolder(buildBase_, reason)) SetForNewMap(Dir1->path());
}

}  // namespace tessary
