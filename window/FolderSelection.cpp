// Folder selection: the drive list, the folder tree whose current folder is
// the base folder, the file list that follows it, and the output name that
// follows the base folder unless it is locked.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>

#include "FolderViews.h"
#include "NativePath.h"
#include "PathEdit.h"
#include "Paths.h"
#include "frmTessary.h"

namespace tessary {

namespace {

// The first folder among the dropped items; empty when there is none. The
// path is taken from the address's escapes, which carry any byte.
std::string DroppedFolder(const mapgen::FileSystem& fs, const QMimeData* data) {
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const auto path = mapgen::NormalAbsolutePath(
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
            .toStdString());
    if (path && fs.IsFolder(*path)) return *path;
  }
  return {};
}

}  // namespace

void frmTessary::InitFolderSelection() {
  setAcceptDrops(true);
  drives_ = desktop_.drives.Browsable();
  for (const Drive& drive : drives_) Drive1->addItem(drive.text, drive.path);
  connect(Drive1, &QComboBox::currentIndexChanged, this,
          &frmTessary::Drive1_Change);
  connect(Dir1, &FolderTree::folderChosen, this, &frmTessary::Dir1_Chosen);
  connect(txtDir, &QLineEdit::textChanged, this, [this](const QString& text) {
    lblDir->setText(text);
    lblSelectedFolder->setText(text);
  });
  connect(new ClickFilter(txtDir), &ClickFilter::clicked, this, [this] {
    desktop_.messageBoxes.Show(
        this, {kAppTitle, "Use browse button [...] to modify."});
  });
  connect(cmdChangeDirectory, &QPushButton::clicked, this,
          [this] { lblToolbar_Click(0); });
}

bool frmTessary::ChangeFolder(const std::string& folder, QString& reason) {
  const auto path = mapgen::NormalAbsolutePath(folder);
  if (!path) {
    reason = QString::fromStdString(path.failure().reason);
    return false;
  }
  if (!Dir1->setPath(*path, reason)) return false;
  Dir1_Change();
  return true;
}

void frmTessary::OpenCommandLine(const std::string& commandLine) {
  QString reason;
  if (!ChangeFolder(commandLine, reason)) {
    desktop_.messageBoxes.Show(
        this, {kAppTitle, "User's command line is in error:\n" + reason,
               MessageIcon::kExclamation});
  }
}

// The current drive, then the first of the usual start folders that exists.
void frmTessary::ChooseStartFolder() {
  Drive1->setCurrentIndex(DriveHolding(drives_, QDir::currentPath()));
  const QString candidates[] = {
      QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
      QDir::homePath(), QStringLiteral("/"), QDir::currentPath()};
  QString reason;
  for (const QString& folder : candidates) {
    if (!folder.isEmpty() && ChangeFolder(NativePath(folder), reason)) return;
  }
}

void frmTessary::Dir1_Chosen(const std::string& folder) {
  QString reason;
  if (!ChangeFolder(folder, reason)) {
    desktop_.messageBoxes.Show(this,
                               {"Directory: " + ShownPath(folder), reason});
  }
}

// A folder dropped from a file manager is chosen as in the folder tree.
void frmTessary::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFolder(fs_, event->mimeData()).empty()) {
    event->acceptProposedAction();
  }
}

void frmTessary::dropEvent(QDropEvent* event) {
  const std::string folder = DroppedFolder(fs_, event->mimeData());
  if (folder.empty()) return;
  event->acceptProposedAction();
  Dir1_Chosen(folder);
}

void frmTessary::Dir1_Change() {
  RecordDriveFolder();
  QString reason;
  if (!File1->setFolder(Dir1->path(), reason)) {
    desktop_.messageBoxes.Show(
        this, {"Directory: " + ShownPath(Dir1->path()), reason});
  }
  const bool root = IsDriveRoot(drives_, ShownPath(File1->folder()));
  Label4->setVisible(root);
  Label5->setVisible(root);
  SetForNewMap(Dir1->path());
}

void frmTessary::Drive1_Change() {
  QString reason;
  const auto remembered = DriveFolders_.constFind(Drive1->currentText());
  const bool shown =
      remembered != DriveFolders_.cend() && ChangeFolder(*remembered, reason);
  if (!shown &&
      !ChangeFolder(NativePath(Drive1->currentData().toString()), reason)) {
    desktop_.messageBoxes.Show(this,
                               {"Drive: " + Drive1->currentText(), reason});
  }
  SetFileBoxes();
}

void frmTessary::SetFileBoxes() {
  RecordDriveFolder();
  SetForNewMap(Dir1->path());
}

void frmTessary::RecordDriveFolder() {
  DriveFolders_.insert(Drive1->currentText(), Dir1->path());
}

// A base folder removed while the window shows it leaves the Folder tab
// empty and Build unavailable until another folder is chosen; the user is
// told once.
bool frmTessary::CheckBaseFolder() {
  if (baseGone_ || settings_.txtDir.empty() || build_->isRunning()) {
    return !baseGone_;
  }
  const auto folder = fs_.IsFolder(settings_.txtDir);
  if (folder) return true;
  baseGone_ = true;
  Dir1->forget(settings_.txtDir);
  File1->clear();
  txtDir->clear();
  SetButtons(1);
  const QString shown = ShownPath(settings_.txtDir);
  desktop_.messageBoxes.Show(
      this, {"Directory: " + shown,
             shown + "\n" + QString::fromStdString(folder.failure().reason) +
                 "\n\nChoose another folder to map on the Folder tab.",
             MessageIcon::kExclamation});
  return false;
}

void frmTessary::SetForNewMap(const std::string& newpath) {
  baseGone_ = false;
  settings_.txtDir = newpath;
  txtDir->setText(ShownPath(newpath));
  if (chkLockFilename->checkState() == Qt::Unchecked) {
    txtMapFile->setPath(mapgen::JoinPath(newpath, mapgen::kMapFileName));
  }
  // Build first becomes available again, or a map just built would keep
  // the focus from it.
  SetButtons(1);
  cmdBuildMap->setFocus();
}

}  // namespace tessary
