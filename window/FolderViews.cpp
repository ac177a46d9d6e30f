#include "FolderViews.h"

#include <dirent.h>

#include <QFileSystemModel>
#include <QFont>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPersistentModelIndex>
#include <QSortFilterProxyModel>
#include <cerrno>
#include <cstring>
#include <string>

#include "PosixFileSystem.h"

namespace tessary {
namespace {

template <typename Model>
Model* FolderModel(QObject* parent, QDir::Filters filter) {
  auto* model = new Model(parent);
  model->setFilter(filter | QDir::NoDotAndDotDot);
  model->setRootPath(QStringLiteral("/"));
  return model;
}

bool CanList(const QString& folder, QString& reason) {
  DIR* dir = ::opendir(folder.toLocal8Bit().constData());
  if (dir == nullptr) {
    reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  ::closedir(dir);
  return true;
}

}  // namespace

// The folders, with the current one in bold, so that it stands apart from
// the highlighted entry that the keys and single clicks move.
class FolderTree::Folders : public QFileSystemModel {
 public:
  using QFileSystemModel::QFileSystemModel;

  void setCurrent(const QModelIndex& folder) {
    const QModelIndex previous = current_;
    current_ = folder;
    if (previous.isValid()) emit dataChanged(previous, previous);
    emit dataChanged(folder, folder);
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::FontRole || index != current_) {
      return QFileSystemModel::data(index, role);
    }
    QFont bold;  // only the weight: the view keeps its own face and size
    bold.setBold(true);
    return bold;
  }

 private:
  QPersistentModelIndex current_;
};

FolderTree::FolderTree(QWidget* parent)
    : QTreeView(parent), model_(FolderModel<Folders>(this, QDir::Dirs)) {
  setModel(model_);
  setHeaderHidden(true);
  for (int column = 1; column < model_->columnCount(); ++column) {
    hideColumn(column);
  }
  // The view's own double click would close again the folder that
  // choosing it has just opened.
  setExpandsOnDoubleClick(false);
  connect(this, &QTreeView::doubleClicked, this, &FolderTree::Open);
  connect(model_, &QFileSystemModel::directoryLoaded, this,
          &FolderTree::ShowAtTop);
}

// The current folder at the top, so that the subfolders it opened show
// below it; again as the folders on its way are read, which moves it.
void FolderTree::ShowAtTop(const QString& loaded) {
  if (!showAtTop_) return;
  const bool onTheWay = loaded == "/" || path_ == loaded ||
                        path_.startsWith(loaded + '/');
  if (!onTheWay) return;
  scrollTo(model_->index(path_), QAbstractItemView::PositionAtTop);
  showAtTop_ = loaded != path_;
}

// As in a folder list: a closed folder opens, and an open one closes the
// folders below it; either way it becomes the current folder.
void FolderTree::Open(const QModelIndex& index) {
  if (isExpanded(index)) {
    for (int row = 0; row < model_->rowCount(index); ++row) {
      collapse(model_->index(row, 0, index));
    }
  }
  emit folderChosen(model_->filePath(index));
}

bool FolderTree::setPath(const QString& folder, QString& reason) {
  std::string why;
  if (!mapgen::PosixFileSystem().IsFolder(folder.toStdString(), why)) {
    reason = QString::fromStdString(why);
    return false;
  }
  path_ = folder;
  const QModelIndex index = model_->index(folder);
  model_->setCurrent(index);
  setCurrentIndex(index);
  expand(index);
  showAtTop_ = true;
  ShowAtTop(folder);
  return true;
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      currentIndex().isValid()) {
    emit folderChosen(model_->filePath(currentIndex()));
    return;
  }
  QTreeView::keyPressEvent(event);
}

// The file-system model keeps showing a folder that once lay on the way to
// the folder it listed; among the files of its parent it is left out here.
class FileList::PlainFiles : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

  void setFolder(const QModelIndex& folder) {
    folder_ = folder;
    invalidateFilter();
  }

 protected:
  bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
    const auto* model = static_cast<const QFileSystemModel*>(sourceModel());
    return parent != folder_ || !model->isDir(model->index(row, 0, parent));
  }

 private:
  QPersistentModelIndex folder_;
};

FileList::FileList(QWidget* parent)
    : QListView(parent),
      // The folders too, so that the model never drops the listed folder
      // from its parent when it reads that parent again; the proxy shows
      // only the files.
      model_(FolderModel<QFileSystemModel>(this,
                                           QDir::Files | QDir::AllDirs)),
      files_(new PlainFiles(this)) {
  files_->setSourceModel(model_);
  setModel(files_);
}

bool FileList::setFolder(const QString& folder, QString& reason) {
  if (!CanList(folder, reason)) return false;
  folder_ = folder;
  const QModelIndex listed = model_->setRootPath(folder);
  files_->setFolder(listed);
  setRootIndex(files_->mapFromSource(listed));
  return true;
}

}  // namespace tessary
