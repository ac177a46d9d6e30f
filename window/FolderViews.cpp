#include "FolderViews.h"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QPersistentModelIndex>
#include <QStringListModel>
#include <QStyle>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "NativePath.h"
#include "Ordinal.h"
#include "Paths.h"
#include "SkipRules.h"

namespace tessary {
namespace {

// The names in `folder` that the walk enters (`folders`) or lists, in
// ordinal order, as the map has them; false with the system's reason when
// the folder cannot be read.
bool ListNames(const mapgen::FileSystem& fs, const std::string& folder,
               bool folders, std::vector<std::string>& names,
               std::string& reason) {
  const auto take = [&names, folders](std::string_view name,
                                      mapgen::EntryKind kind) {
    if (folders ? mapgen::IsWalked(name, kind) : mapgen::IsListed(name, kind)) {
      names.emplace_back(name);
    }
  };
  auto handle = fs.OpenFolder(folder);
  auto listed =
      handle ? (*handle)->List(take) : mapgen::Outcome<void>(handle.failure());
  if (!listed) {
    reason = listed.failure().reason;
    return false;
  }
  std::sort(names.begin(), names.end(), mapgen::OrdinalLess);
  return true;
}

}  // namespace

// The folders as far as they have been read: "/" at the top, a folder's
// subfolders read when the view first asks for them, and the current
// folder in bold, so that it stands apart from the highlighted entry that
// the keys and single clicks move.
class FolderTree::Folders : public QAbstractItemModel {
 public:
  Folders(QObject* parent, const mapgen::FileSystem& fs)
      : QAbstractItemModel(parent),
        fs_(fs),
        folderIcon_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)) {
    top_.children.push_back(std::make_unique<Node>("/", "/", &top_));
  }

  QModelIndex index(int row, int column,
                    const QModelIndex& parent) const override {
    const Node* node = NodeOf(parent);
    if (column != 0 || row < 0 || row >= int(node->children.size())) {
      return {};
    }
    return createIndex(row, 0, node->children[row].get());
  }

  QModelIndex parent(const QModelIndex& child) const override {
    const Node* node = NodeOf(child);
    if (node == &top_ || node->parent == &top_) return {};
    return IndexOf(node->parent);
  }

  int rowCount(const QModelIndex& parent) const override {
    return int(NodeOf(parent)->children.size());
  }
  int columnCount(const QModelIndex&) const override { return 1; }

  bool hasChildren(const QModelIndex& parent) const override {
    const Node* node = NodeOf(parent);
    return !node->read || !node->children.empty();
  }
  bool canFetchMore(const QModelIndex& parent) const override {
    return !NodeOf(parent)->read;
  }
  void fetchMore(const QModelIndex& parent) override { Read(parent); }

  QVariant data(const QModelIndex& index, int role) const override {
    const Node* node = NodeOf(index);
    switch (role) {
      case Qt::DisplayRole:
        return ShownPath(node->name);
      case Qt::DecorationRole:
        return folderIcon_;
      case Qt::FontRole:
        if (index != current_) return {};
        {
          QFont bold;  // only the weight: the view keeps its own face
          bold.setBold(true);
          return bold;
        }
      default:
        return {};
    }
  }

  const mapgen::FileSystem& fs() const { return fs_; }

  const std::string& filePath(const QModelIndex& index) const {
    return NodeOf(index)->path;
  }

  void setCurrent(const QModelIndex& folder) {
    const QModelIndex previous = current_;
    current_ = folder;
    if (previous.isValid()) emit dataChanged(previous, previous);
    emit dataChanged(folder, folder);
  }

  // Reads `folder` again: what was added or removed since shows.
  void Reread(const QModelIndex& folder) {
    Node* node = NodeOf(folder);
    if (!node->children.empty()) {
      beginRemoveRows(folder, 0, int(node->children.size()) - 1);
      node->children.clear();
      endRemoveRows();
    }
    node->read = false;
    Read(folder);
  }

  QModelIndex Find(const std::string& path) {
    QModelIndex found = index(0, 0, {});
    for (const std::string& name : Steps(path)) {
      if (canFetchMore(found)) Read(found);
      found = Child(found, name);
    }
    return found;
  }

 private:
  struct Node {
    Node() = default;
    Node(std::string shownName, std::string fullPath, Node* up)
        : name(std::move(shownName)), path(std::move(fullPath)), parent(up) {}

    std::string name;
    std::string path;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    bool read = false;
  };

  // The names on the way from "/" to `path`.
  static std::vector<std::string> Steps(const std::string& path) {
    std::vector<std::string> steps;
    for (std::string rest = path; !mapgen::IsRoot(rest);
         rest = mapgen::ParentFolder(rest)) {
      steps.emplace_back(mapgen::LastName(rest));
    }
    std::reverse(steps.begin(), steps.end());
    return steps;
  }

  Node* NodeOf(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer())
                           : const_cast<Node*>(&top_);
  }

  QModelIndex IndexOf(const Node* node) const {
    const auto& siblings = node->parent->children;
    const auto at =
        std::find_if(siblings.begin(), siblings.end(),
                     [node](const auto& n) { return n.get() == node; });
    return createIndex(int(at - siblings.begin()), 0, const_cast<Node*>(node));
  }

  // A folder that cannot be read shows as one without subfolders.
  void Read(const QModelIndex& folder) {
    Node* node = NodeOf(folder);
    node->read = true;
    std::vector<std::string> names;
    std::string reason;
    if (!ListNames(fs_, node->path, true, names, reason) || names.empty()) {
      return;
    }
    beginInsertRows(folder, 0, int(names.size()) - 1);
    for (std::string& name : names) {
      const std::string path = mapgen::JoinPath(node->path, name);
      node->children.push_back(
          std::make_unique<Node>(std::move(name), path, node));
    }
    endInsertRows();
  }

  // The entry `name` of `folder`, added in its place when the walk leaves
  // it out.
  QModelIndex Child(const QModelIndex& folder, const std::string& name) {
    Node* node = NodeOf(folder);
    auto& children = node->children;
    const auto at =
        std::lower_bound(children.begin(), children.end(), name,
                         [](const auto& child, const std::string& n) {
                           return mapgen::OrdinalLess(child->name, n);
                         });
    const int row = int(at - children.begin());
    if (at == children.end() || (*at)->name != name) {
      beginInsertRows(folder, row, row);
      children.insert(at, std::make_unique<Node>(
                              name, mapgen::JoinPath(node->path, name), node));
      endInsertRows();
    }
    return index(row, 0, folder);
  }

  const mapgen::FileSystem& fs_;
  // Made once: the style draws a new icon, its images decoded, at each
  // call, and the view asks for every row whenever it measures them.
  const QIcon folderIcon_;
  Node top_;
  QPersistentModelIndex current_;
};

FolderTree::FolderTree(QWidget* parent, const mapgen::FileSystem& fs)
    : QTreeView(parent), model_(new Folders(this, fs)) {
  setModel(model_);
  setHeaderHidden(true);
  // Long names scroll sideways rather than lose their ends.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  // The view's own double click would close again the folder that
  // choosing it has just opened.
  setExpandsOnDoubleClick(false);
  connect(this, &QTreeView::doubleClicked, this, &FolderTree::Open);
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

QModelIndex FolderTree::indexOf(const std::string& folder) {
  return model_->Find(folder);
}

void FolderTree::forget(const std::string& folder) {
  path_.clear();
  for (std::string up = mapgen::ParentFolder(folder);;
       up = mapgen::ParentFolder(up)) {
    if (model_->fs().IsFolder(up) || mapgen::IsRoot(up)) {
      const QModelIndex index = indexOf(up);
      model_->Reread(index);
      setCurrentIndex(index);
      return;
    }
  }
}

// The current folder at the top, so that the subfolders it opened show
// below it.
bool FolderTree::setPath(const std::string& folder, QString& reason) {
  if (const auto opened = model_->fs().IsFolder(folder); !opened) {
    reason = QString::fromStdString(opened.failure().reason);
    return false;
  }
  path_ = folder;
  const QModelIndex index = indexOf(folder);
  model_->Reread(index);
  model_->setCurrent(index);
  setCurrentIndex(index);
  expand(index);
  scrollTo(index, QAbstractItemView::PositionAtTop);
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

FileList::FileList(QWidget* parent, const mapgen::FileSystem& fs)
    : QListView(parent), fs_(fs), model_(new QStringListModel(this)) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FileList::clear() {
  folder_.clear();
  model_->setStringList({});
}

bool FileList::setFolder(const std::string& folder, QString& reason) {
  std::vector<std::string> names;
  std::string why;
  if (!ListNames(fs_, folder, false, names, why)) {
    reason = QString::fromStdString(why);
    return false;
  }
  QStringList shown;
  for (const std::string& name : names) shown << ShownPath(name);
  folder_ = folder;
  model_->setStringList(shown);
  return true;
}

}  // namespace tessary
