#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace mapgen {

// A folder that the map covers: where it is and what it is, so that its
// files can be listed when its turn comes, from the same folder.
struct Folder {
  std::string path;
  FileId id;
  std::optional<Failure> unreadable;  // why it could not be listed
};

// The folders of one walk, held in little memory whatever the tree's
// shape: each folder by its own name, in one text with every other, and
// the number of the folder that holds it; a full path is made only when
// one is asked for. A million folders take some 30 MB, a chain of ten
// thousand no more than its names.
class FolderTree {
 public:
  using Number = std::uint32_t;

  // A tree of the base folder `base` alone, number 0.
  explicit FolderTree(std::string base);

  // Adds the folder `name` of the folder `parent`; its number.
  Number Add(Number parent, std::string_view name);
  void Identify(Number folder, FileId id);
  void MarkUnreadable(Number folder, Failure failure);

  std::size_t size() const { return parents_.size(); }
  std::string Path(Number folder) const;
  FileId Id(Number folder) const;
  Folder At(Number folder) const;

  // Every folder's number, in the order of the map's sections: the
  // ordinal order of the full paths, or, for a page that nests the
  // sections, each folder before all those below it and then its next
  // sibling ("docs", "docs/api", "docs-old").
  std::vector<Number> InPathOrder() const;
  std::vector<Number> InTreeOrder() const;

 private:
  // The name and the name with "/" after it, as a path holds them.
  std::string_view Name(Number folder) const;
  std::string_view NameAndSlash(Number folder) const;
  template <typename Emit>
  void Walk(bool nested, Emit emit) const;

  std::string base_;
  // Each folder's name followed by "/", one after another.
  std::string names_;
  // Per folder, by number: where its name ends in `names_`, its parent,
  // and its identity (the device by its place in `devices_`).
  std::vector<std::uint32_t> nameEnds_;
  std::vector<Number> parents_;
  std::vector<std::uint64_t> inodes_;
  std::vector<std::uint16_t> deviceNumbers_;
  std::vector<std::uint64_t> devices_;
  std::map<Number, Failure> unreadable_;
};

// The folders of a walk in page order: the base folder first.
class FolderList {
 public:
  FolderList() = default;
  FolderList(FolderTree tree, std::vector<FolderTree::Number> order)
      : tree_(std::move(tree)), order_(std::move(order)) {}

  std::size_t size() const { return order_.size(); }
  bool empty() const { return order_.empty(); }
  Folder operator[](std::size_t position) const {
    return tree_->At(order_[position]);
  }
  Folder front() const { return (*this)[0]; }

  // The same folders in the nested order (see FolderTree::InTreeOrder).
  void PutInTreeOrder() { order_ = tree_->InTreeOrder(); }

 private:
  std::optional<FolderTree> tree_;
  std::vector<FolderTree::Number> order_;
};

}  // namespace mapgen
