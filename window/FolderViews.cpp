#include "FolderViews.h"

#include <dirent.h>

#include <QFileSystemModel>
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

QFileSystemModel* FolderModel(QObject* parent, QDir::Filters filter) {
  auto* model = new QFileSystemModel(parent);
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

FolderTree::FolderTree(QWidget* parent)
    : QTreeView(parent), model_(FolderModel(this, QDir::Dirs)) {
  setModel(model_);
  setHeaderHidden(true);
  for (int column = 1; column < model_->columnCount(); ++column) {
    hideColumn(column);
  }
  connect(this, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) {
    emit folderChosen(model_->filePath(i));
  });
}

bool FolderTree::setPath(const QString& folder, QString& reason) {
  std::string why;
  if (!mapgen::PosixFileSystem().IsFolder(folder.toStdString(), why)) {
    reason = QString::fromStdString(why);
    return false;
  }
  path_ = folder;
  const QModelIndex index = model_->index(folder);
  setCurrentIndex(index);
  expand(index);
  scrollTo(index);
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
      model_(FolderModel(this, QDir::Files)),
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
