#pragma once

#include <QListView>
#include <QString>
#include <QTreeView>

#include "FileSystem.h"

class QStringListModel;

namespace tessary {

// The folder tree Dir1: every folder from "/" down that a map would walk
// into, each folder read when it is first opened. Its current folder,
// shown in bold, is the base folder of the map; a single click only
// highlights an entry, a double click or Enter chooses it, and the chosen
// folder is read again and opens to list its subfolders.
class FolderTree : public QTreeView {
  Q_OBJECT
 public:
  FolderTree(QWidget* parent, const mapgen::FileSystem& fs);

  const QString& path() const { return path_; }

  // Makes `folder` the current folder and shows it open. False, with the
  // system's reason, when it is not a folder.
  bool setPath(const QString& folder, QString& reason);

  // The entry of `folder`, the folders on its way read as needed. A folder
  // the tree leaves out, a hidden one or a link, has an entry once it is
  // named.
  QModelIndex indexOf(const QString& folder);

 signals:
  void folderChosen(const QString& folder);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Folders;

  void Open(const QModelIndex& index);

  Folders* model_;
  QString path_;
};

// The file list File1: the files of one folder that a map would list.
class FileList : public QListView {
  Q_OBJECT
 public:
  FileList(QWidget* parent, const mapgen::FileSystem& fs);

  const QString& folder() const { return folder_; }

  // False, with the system's reason, when the folder cannot be listed; the
  // list then keeps its previous folder.
  bool setFolder(const QString& folder, QString& reason);

 private:
  const mapgen::FileSystem& fs_;
  QStringListModel* model_;
  QString folder_;
};

}  // namespace tessary
