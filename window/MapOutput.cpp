// What happens to a built map: Preview, Edit Source, Save and Save As, the
// output name's Browse, Help, and Exit with its offer to save. The map's
// current file is the build's temporary page until a save, then the saved
// output file.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "BuildRunner.h"
#include "FileCopy.h"
#include "FolderViews.h"
#include "HelpPage.h"
#include "TextEditor.h"
#include "frmAboutTessary.h"
#include "frmTessary.h"

namespace tessary {
namespace {

const QStringList kPageFilters = {"Web Pages (*.html *.htm)", "All Files (*)"};

// Browsers judge a file by its name's ending and show any other than a web
// page's as source.
bool NamedAsPage(const QString& path) {
  return path.endsWith(".html", Qt::CaseInsensitive) ||
         path.endsWith(".htm", Qt::CaseInsensitive);
}

// Hidden, so that no map ever lists it.
QString PreviewPathBeside(const QString& page) {
  return QFileInfo(page).dir().filePath(".sitemap-preview.html");
}

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
          &frmTessary::mnuAboutTessary_Click);
  connect(cmdExit, &QPushButton::clicked, this, &frmTessary::cmdExit_Click);
  connect(mnuExit, &QAction::triggered, this, &frmTessary::cmdExit_Click);
}

// The page a build just wrote becomes the map's current file. An unsaved
// page of an earlier build in another base folder would otherwise be left
// behind on disk.
void frmTessary::SetTempMapPath(const QString& path) {
  const QString previous = TempMapPath_;
  TempMapPath_ = path;
  if (IsTemporaryFile(previous) && !SameFile(previous, path)) {
    QFile::remove(previous);
  }
}

// Once saved, the map's current file is the output file the user chose:
// it is no temporary file, and nothing deletes it.
bool frmTessary::IsTemporaryFile(const QString& path) const {
  return !path.isEmpty() && path != SavedMapPath_;
}

// Saving the map where it already is has nothing to copy. A save under a
// new name copies from the current file and removes it only when it is the
// build's temporary file, so an earlier output stays.
bool frmTessary::CopyMapFile(QString& Source, const QString& Destination) {
  if (!SameFile(Source, Destination)) {
    if (!CopyOrTell(Source, Destination)) return false;
    if (IsTemporaryFile(Source)) QFile::remove(Source);
  }
  Source = Destination;
  SavedMapPath_ = Destination;
  return true;
}

bool frmTessary::CopyOrTell(const QString& source, const QString& target) {
  mapgen::Failure failure;
  if (CopyWholeFile(source, target, failure)) return true;
  desktop_.messageBoxes.Show(
      this, {"Problem with file",
             QString::fromStdString(failure.path + "\n" + failure.reason)});
  return false;
}

// A relative name is taken from the base folder, never from wherever the
// program was started.
QString frmTessary::OutputPath() const {
  const QDir base(Dir1->path());
  return QDir::cleanPath(base.absoluteFilePath(txtMapFile->text()));
}

bool frmTessary::AskOutputFile(QString& filename) {
  const FileAnswer answer = desktop_.CommonDialog1.ShowSave(
      this, {"Save output map as ...", QFileInfo(filename).absolutePath(),
             filename, kPageFilters, 0});
  if (answer.outcome == DialogOutcome::kFailed) {
    desktop_.messageBoxes.Show(this, {QString(), answer.error});
  }
  if (answer.outcome != DialogOutcome::kChosen) return false;
  filename = answer.path;
  return true;
}

void frmTessary::cmdSave_Click() {
  RemovePreview();
  MapSaved_ = CopyMapFile(TempMapPath_, OutputPath());
  if (MapSaved_) {
    cmdExit->setFocus();
  } else {
    txtMapFile->setFocus();
  }
}

void frmTessary::mnuSaveAs_Click() {
  QString filename = OutputPath();
  if (!AskOutputFile(filename)) return;
  txtMapFile->setText(filename);
  cmdSave_Click();
}

void frmTessary::cmdChangeOutputPath_Click() {
  QString filename = OutputPath();
  if (!AskOutputFile(filename)) return;
  txtMapFile->setText(filename);
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
  if (NamedAsPage(TempMapPath_)) {
    OpenBrowser(TempMapPath_);
  } else {
    RemovePreview();
    const QString preview = PreviewPathBeside(TempMapPath_);
    if (!CopyOrTell(TempMapPath_, preview)) return;
    previewPath_ = preview;
    OpenBrowser(preview);
  }
  cmdSave->setFocus();
}

void frmTessary::RemovePreview() {
  if (!previewPath_.isEmpty()) QFile::remove(previewPath_);
  previewPath_.clear();
}

void frmTessary::mnuEditSource_Click() {
  if (!OpenTextEditor(TempMapPath_, desktop_.launcher)) {
    desktop_.messageBoxes.Show(
        this, {"Edit Source",
               "No text editor could be started to open\n" + TempMapPath_});
  }
}

void frmTessary::mnuHelp_Click() {
  OpenBrowser(HelpPagePath(QCoreApplication::applicationDirPath()));
}

// One box at a time: asking again brings the open one to the front.
void frmTessary::mnuAboutTessary_Click() {
  if (aboutBox_ == nullptr) aboutBox_ = new frmAboutTessary(desktop_, this);
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

void frmTessary::cmdExit_Click() { Exit(); }

// Offers to save a built map that is not saved; a save that fails keeps
// the program running. True when the program ends.
bool frmTessary::Exit() {
  if (MapBuilt_ && !MapSaved_) {
    const MessageAnswer answer = desktop_.messageBoxes.Show(
        this, {"Unsaved site map", "Save generated file?", MessageIcon::kNone,
               MessageButtons::kYesNoCancel});
    if (answer == MessageAnswer::kCancel) return false;
    if (answer == MessageAnswer::kYes &&
        !CopyMapFile(TempMapPath_, OutputPath())) {
      return false;
    }
  }
  builder_->stop();
  RemovePreview();
  if (IsTemporaryFile(TempMapPath_)) QFile::remove(TempMapPath_);
  leaving_ = true;
  endProgram_();
  return true;
}

// Closing through the frame is leaving the program, and asks as Exit does.
void frmTessary::closeEvent(QCloseEvent* event) {
  if (!leaving_ && !Exit()) {
    event->ignore();
    return;
  }
  if (aboutBox_ != nullptr) aboutBox_->close();
  QMainWindow::closeEvent(event);
}

}  // namespace tessary
