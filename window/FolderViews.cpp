#include "FolderViews.h"

#include <dirent.h>

#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
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

FileList::FileList(QWidget* parent)
    : QListView(parent), model_(FolderModel(this, QDir::Files)) {
  setModel(model_);
}

bool FileList::setFolder(const QString& folder, QString& reason) {
  if (!CanList(folder, reason)) return false;
  folder_ = folder;
  setRootIndex(model_->setRootPath(folder));
  return true;
}

}  // namespace tessary
