#pragma once

#include <QListView>
#include <QString>
#include <QTreeView>
#include <string>

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

  // Paths are the file system's bytes; the tree shows them as text.
  const std::string& path() const { return path_; }

  // Makes `folder` the current folder and shows it open. False, with the
  // system's reason, when it is not a folder.
  bool setPath(const std::string& folder, QString& reason);

  // The entry of `folder`, the folders on its way read as needed. A folder
  // the tree leaves out, a hidden one or a link, has an entry once it is
  // named.
  QModelIndex indexOf(const std::string& folder);

  // Reads the folders on the way to `folder` again, so that those gone
  // since go from the tree, and highlights the nearest that is left.
  void forget(const std::string& folder);

 signals:
  void folderChosen(const std::string& folder);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  class Folders;

  void Open(const QModelIndex& index);

  Folders* model_;
  std::string path_;
};

// The file list File1: the files of one folder that a map would list.
class FileList : public QListView {
  Q_OBJECT
 public:
  FileList(QWidget* parent, const mapgen::FileSystem& fs);

  const std::string& folder() const { return folder_; }

  // False, with the system's reason, when the folder cannot be listed; the
  // list then keeps its previous folder.
  bool setFolder(const std::string& folder, QString& reason);

  // Lists nothing, for a base folder that has gone.
  void clear();

 private:
  const mapgen::FileSystem& fs_;
  QStringListModel* model_;
  std::string folder_;
};

}  // namespace tessary
