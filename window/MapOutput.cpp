// What happens to a built map: Preview, Edit Source, Save and Save As, the
// output name's Browse, Help, and Exit with its offer to save. The map's
// current file is the build's temporary page until a save, then the saved
// output file.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>

#include "BackgroundWork.h"
#include "FileCopy.h"
#include "FolderViews.h"
#include "HelpPage.h"
#include "NativePath.h"
#include "PathEdit.h"
#include "Paths.h"
#include "TextEditor.h"
#include "frmTessary.h"

namespace tessary {
namespace {

const QStringList kPageFilters = {"Web Pages (*.html *.htm)", "All Files (*)"};

// Browsers judge a file by its name's ending and show any other than a web
// page's as source.
bool NamedAsPage(const std::string& path) {
  const QString name = ShownPath(std::string(mapgen::LastName(path)));
  return name.endsWith(".html", Qt::CaseInsensitive) ||
         name.endsWith(".htm", Qt::CaseInsensitive);
}

// How long the end of the program waits for the window's work (a save to
// a pipe nobody reads, a build on a stalled disk) before leaving it be.
constexpr std::chrono::seconds kLeaveLimit{2};

}  // namespace

void frmTessary::InitOutputCommands() {
  connect(cmdPreview, &QPushButton::clicked, this,
          &frmTessary::cmdPreview_Click);
  connect(mnuPreview, &QAction::triggered, this, &frmTessary::cmdPreview_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmTessary::cmdSave_Click);
  connect(mnuSave, &QAction::triggered, this, &frmTessary::cmdSave_Click);
  connect(mnuSaveAs, &QAction::triggered, this, &frmTessary::mnuSaveAs_Click);
  connect(cmdChangeOutputPath, &QPushButton::clicked, this,
          &frmTessary::cmdChangeOutputPath_Click);
  connect(mnuEditSource, &QAction::triggered, this,
          &frmTessary::mnuEditSource_Click);
  connect(mnuHelp, &QAction::triggered, this, &frmTessary::mnuHelp_Click);
  for (ClickLabel* label : lblX) {
    connect(label, &ClickLabel::clicked, this, &frmTessary::mnuHelp_Click);
  }
  connect(mnuAboutTessary, &QAction::triggered, this,
          &frmTessary::aboutRequested);
  connect(cmdExit, &QPushButton::clicked, this, &frmTessary::cmdExit_Click);
  connect(mnuExit, &QAction::triggered, this, &frmTessary::cmdExit_Click);
  connect(copy_, &QFutureWatcherBase::finished, this,
          &frmTessary::CopyFinished);
  connect(editors_, &QFutureWatcherBase::finished, this,
          &frmTessary::EditorsFound);
}

// The page a build just wrote becomes the map's current file. An unsaved
// page of an earlier build in another base folder would otherwise be left
// behind on disk.
void frmTessary::SetTempMapPath(const std::string& path) {
  const std::string previous = TempMapPath_;
  TempMapPath_ = path;
  if (IsTemporaryFile(previous) && !SameFile(fs_, previous, path)) {
    RemoveIfThere(fs_, previous);
  }
}

// Once saved, the map's current file is the output file the user chose:
// it is no temporary file, and nothing deletes it.
bool frmTessary::IsTemporaryFile(const std::string& path) const {
  return !path.empty() && path != SavedMapPath_;
}

// A save copies the current file to the output file, which then becomes
// the current file; the build's temporary file goes, an earlier output
// stays. A preview copies it to a page name beside it.
void frmTessary::CopyMapFile(const std::string& destination, AfterCopy after) {
  copyTarget_ = destination;
  afterCopy_ = after;
  const bool removeSource =
      after != AfterCopy::kPreview && IsTemporaryFile(TempMapPath_);
  const auto sitemap = after != AfterCopy::kPreview ? sitemap_ : nullptr;
  work_->Compute(copy_, [&fs = fs_, source = TempMapPath_, destination,
                         removeSource, sitemap] {
    return CopyPage(fs, source, destination, removeSource, sitemap.get());
  });
}

// Once the program is ending, nobody is left to tell, but a preview copy
// still goes with the rest.
void frmTessary::CopyFinished() {
  const CopyOutcome outcome = copy_->result();
  const bool saving = afterCopy_ != AfterCopy::kPreview;
  if (outcome.copied && !saving) previewPath_ = copyTarget_;
  if (leaving_) return;
  const mapgen::Failure& failure = outcome.failure;
  if (!failure.reason.empty()) {
    desktop_.messageBoxes.Show(
        this,
        {"Problem with file", ShownPath(failure.path) + "\n" +
                                  QString::fromStdString(failure.reason)});
  }
  if (!outcome.copied) {
    if (saving) RefuseSave();
    return;
  }
  if (!saving) {
    OpenBrowser(ForOtherPrograms(previewPath_));
    cmdSave->setFocus();
    return;
  }
  TempMapPath_ = copyTarget_;
  SavedMapPath_ = copyTarget_;
  MapSaved_ = true;
  cmdExit->setFocus();
  if (afterCopy_ == AfterCopy::kSavedThenLeave) Leave(kLeaveLimit);
}

// A relative name is taken from the base folder, never from wherever the
// program was started.
std::string frmTessary::OutputPath() const {
  const std::string name = txtMapFile->path();
  const std::string path =
      name.starts_with('/') ? name : mapgen::JoinPath(settings_.txtDir, name);
  // The base folder is absolute, so no current folder is asked for.
  const auto absolute = mapgen::NormalAbsolutePath(path);
  return absolute ? *absolute : path;
}

// The map stays unsaved, and the name is there to be corrected; Exit asks
// again.
void frmTessary::RefuseSave() {
  MapSaved_ = false;
  txtMapFile->setFocus();
}

// An empty name would name the base folder itself.
bool frmTessary::MapFileNamed() {
  if (!txtMapFile->text().isEmpty()) return true;
  desktop_.messageBoxes.Show(this,
                             {"Problem with file", "No map file name given"});
  RefuseSave();
  return false;
}

// A dialog shows names as text, so a folder whose name is no UTF-8 cannot
// be chosen in it; typed into the name box, it can.
bool frmTessary::AskOutputFile(std::string& filename) {
  const FileAnswer answer = desktop_.CommonDialog1.ShowSave(
      this,
      {"Save output map as ...", ShownPath(mapgen::ParentFolder(filename)),
       ShownPath(filename), kPageFilters, 0});
  if (!Chosen(answer)) return false;
  filename = NativePath(answer.path);
  return true;
}

// One copy at a time.
void frmTessary::cmdSave_Click() {
  if (copy_->isRunning() || !MapFileNamed()) return;
  RemovePreview();
  CopyMapFile(OutputPath(), AfterCopy::kSaved);
}

void frmTessary::mnuSaveAs_Click() {
  std::string filename = OutputPath();
  if (!AskOutputFile(filename)) return;
  txtMapFile->setPath(filename);
  cmdSave_Click();
}

void frmTessary::cmdChangeOutputPath_Click() {
  std::string filename = OutputPath();
  if (!AskOutputFile(filename)) return;
  txtMapFile->setPath(filename);
  if (cmdSave->isEnabled()) {
    cmdSave->setFocus();
  } else {
    cmdBuildMap->setFocus();
  }
}

// The map's current file is handed over as it is when its name tells a
// browser it is a page; the build's temporary file is copied to a page
// name first, a copy that goes again with the next Save, Build or Exit.
void frmTessary::cmdPreview_Click() {
  if (copy_->isRunning()) return;
  if (NamedAsPage(TempMapPath_)) {
    OpenBrowser(ForOtherPrograms(TempMapPath_));
    cmdSave->setFocus();
    return;
  }
  RemovePreview();
  CopyMapFile(PreviewPathBeside(TempMapPath_), AfterCopy::kPreview);
}

void frmTessary::RemovePreview() {
  if (!previewPath_.empty()) RemoveIfThere(fs_, previewPath_);
  previewPath_.clear();
}

// Finding the editor asks the desktop, which may take a few seconds.
void frmTessary::mnuEditSource_Click() {
  if (editors_->isRunning()) return;
  editedPage_ = TempMapPath_;
  work_->Compute(editors_, [page = ForOtherPrograms(editedPage_),
                            &launcher = desktop_.launcher] {
    return TextEditorCommands(page, launcher);
  });
}

void frmTessary::EditorsFound() {
  if (leaving_) return;
  QString reason;
  if (!StartFirst(editors_->result(), desktop_.launcher, reason)) {
    desktop_.messageBoxes.Show(
        this, {"Edit Source", "No text editor could be started to open\n" +
                                  ShownPath(editedPage_)});
  }
}

void frmTessary::mnuHelp_Click() {
  OpenBrowser(HelpPagePath(QCoreApplication::applicationDirPath()));
}

void frmTessary::cmdExit_Click() { Exit(); }

// Offers to save a built map that is not saved; a save that fails keeps
// the program running. Asked again while a save runs, it leaves once that
// has ended.
void frmTessary::Exit() {
  if (leaving_) return;
  if (!copy_->isRunning() && MapBuilt_ && !MapSaved_) {
    const MessageAnswer answer = desktop_.messageBoxes.Show(
        this, {"Unsaved site map", "Save generated file?", MessageIcon::kNone,
               MessageButtons::kYesNoCancel});
    if (answer == MessageAnswer::kCancel) return;
    if (answer == MessageAnswer::kYes) {
      if (!MapFileNamed()) return;
      CopyMapFile(OutputPath(), AfterCopy::kSavedThenLeave);
      // A save that neither ends nor fails, to a pipe nobody reads, does
      // not keep the program.
      QTimer::singleShot(kLeaveLimit, this, [this] {
        if (copy_->isRunning() && afterCopy_ == AfterCopy::kSavedThenLeave) {
          Leave(std::chrono::milliseconds(0));
        }
      });
      return;
    }
  }
  Leave(kLeaveLimit);
}

// The window goes at once; the program ends when the window's work has
// ended, or after `wait` at most.
void frmTessary::Leave(std::chrono::milliseconds wait) {
  if (leaving_) return;
  leaving_ = true;
  AbandonBuild();
  hide();
  work_->WhenIdle(wait, [this] {
    RemovePreview();
    if (IsTemporaryFile(TempMapPath_)) RemoveIfThere(fs_, TempMapPath_);
    endProgram_();
  });
}

// Closing through the frame is leaving the program, and asks as Exit does.
void frmTessary::closeEvent(QCloseEvent* event) {
  if (leaving_) {
    QMainWindow::closeEvent(event);
    return;
  }
  event->ignore();
  Exit();
}

}  // namespace tessary
