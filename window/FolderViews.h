#pragma once

#include <QListView>
#include <QString>
#include <QTreeView>

class QFileSystemModel;
class QSortFilterProxyModel;

namespace tessary {

// The folder tree Dir1: every folder from "/" down, hidden ones left out.
// Its current folder, shown in bold, is the base folder of the map; a
// single click only highlights an entry, a double click or Enter chooses
// it, and the chosen folder opens to list its subfolders.
class FolderTree : public QTreeView {
  Q_OBJECT
 public:
  explicit FolderTree(QWidget* parent);

  const QString& path() const { return path_; }

  // Makes `folder` the current folder and shows it open. False, with the
  // system's reason, when it is not a folder.
  bool setPath(const QString& folder, QString& reason);

 signals:
  void folderChosen(const QString& folder);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Folders;

  void Open(const QModelIndex& index);
  void ShowAtTop(const QString& loaded);

  Folders* model_;
  QString path_;
  bool showAtTop_ = false;  // until the current folder has been read
};

// The file list File1: the plain files of one folder, hidden ones left out.
class FileList : public QListView {
  Q_OBJECT
 public:
  explicit FileList(QWidget* parent);

  const QString& folder() const { return folder_; }

  // False, with the system's reason, when the folder cannot be listed; the
  // list then keeps its previous folder.
  bool setFolder(const QString& folder, QString& reason);

 private:
  QFileSystemModel* model_;
  class PlainFiles;
  PlainFiles* files_;
  QString folder_;
};

}  // namespace tessary
