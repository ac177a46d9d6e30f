#include "FolderTree.h"

#include <algorithm>
#include <limits>

#include "Ordinal.h"

namespace mapgen {
namespace {

using Number = FolderTree::Number;

constexpr std::uint16_t kNoDevice = std::numeric_limits<std::uint16_t>::max();
// In the list of what follows a folder on the page: this bit marks the
// folders below a subfolder, where it is clear the subfolder itself.
constexpr Number kBelow = Number{1} << 31;

}  // namespace

FolderTree::FolderTree(std::string base)
    : base_(std::move(base)),
      nameEnds_{0},
      parents_{0},
      inodes_{0},
      deviceNumbers_{kNoDevice} {}

FolderTree::Number FolderTree::Add(Number parent, std::string_view name) {
  names_ += name;
  names_ += '/';
  nameEnds_.push_back(static_cast<std::uint32_t>(names_.size()));
  parents_.push_back(parent);
  inodes_.push_back(0);
  deviceNumbers_.push_back(kNoDevice);
  return static_cast<Number>(parents_.size() - 1);
}

void FolderTree::Identify(Number folder, FileId id) {
  // A tree spans few devices: a short list, searched from its end.
  auto device = std::find(devices_.rbegin(), devices_.rend(), id.device);
  if (device == devices_.rend()) {
    devices_.push_back(id.device);
    device = devices_.rbegin();
  }
  deviceNumbers_[folder] =
      static_cast<std::uint16_t>(devices_.rend() - device - 1);
  inodes_[folder] = id.inode;
}

void FolderTree::MarkUnreadable(Number folder, Failure failure) {
  unreadable_[folder] = std::move(failure);
}

std::string_view FolderTree::NameAndSlash(Number folder) const {
  const std::uint32_t start = folder == 0 ? 0 : nameEnds_[folder - 1];
  return std::string_view(names_).substr(start, nameEnds_[folder] - start);
}

std::string_view FolderTree::Name(Number folder) const {
  const std::string_view name = NameAndSlash(folder);
  return name.substr(0, name.empty() ? 0 : name.size() - 1);
}

std::string FolderTree::Path(Number folder) const {
  std::vector<Number> chain;
  std::size_t length = base_.size();
  for (Number at = folder; at != 0; at = parents_[at]) {
    chain.push_back(at);
    length += NameAndSlash(at).size();
  }
  std::string path;
  path.reserve(length);
  path = base_;
  for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
    if (!path.ends_with('/')) path += '/';
    path += Name(*at);
  }
  return path;
}

FileId FolderTree::Id(Number folder) const {
  if (deviceNumbers_[folder] == kNoDevice) return {};
  return {devices_[deviceNumbers_[folder]], inodes_[folder]};
}

Folder FolderTree::At(Number folder) const {
  const auto unreadable = unreadable_.find(folder);
  return {Path(folder), Id(folder),
          unreadable == unreadable_.end()
              ? std::nullopt
              : std::optional<Failure>(unreadable->second)};
}

// Calls `emit` with every folder in page order. What follows a folder is
// its subfolders, sorted by name; in ordinal order of full paths, the
// folders below each subfolder come where the subfolder's name with a
// "/" after it sorts among its siblings' names ("docs", "docs-old",
// "docs/api"), nested right after the subfolder itself.
template <typename Emit>
void FolderTree::Walk(bool nested, Emit emit) const {
  // Each folder's subfolders, one list after another.
  std::vector<Number> starts(size() + 1, 0);
  for (Number folder = 1; folder < size(); ++folder) ++starts[parents_[folder]];
  Number total = 0;
  for (Number& start : starts) total += std::exchange(start, total);
  std::vector<Number> children(size());
  {
    std::vector<Number> filled(starts.begin(), starts.end() - 1);
    for (Number folder = 1; folder < size(); ++folder) {
      children[filled[parents_[folder]]++] = folder;
    }
  }
  const auto key = [&](Number item) {
    return (item & kBelow) != 0 ? NameAndSlash(item & ~kBelow) : Name(item);
  };
  // What follows `folder` on the page, in order.
  const auto following = [&](Number folder) {
    std::vector<Number> items;
    for (Number at = starts[folder]; at < starts[folder + 1]; ++at) {
      const Number child = children[at];
      items.push_back(child);
      const bool hasChildren = starts[child + 1] > starts[child];
      if (!nested && hasChildren) items.push_back(child | kBelow);
    }
    std::sort(items.begin(), items.end(),
              [&](Number a, Number b) { return OrdinalLess(key(a), key(b)); });
    return items;
  };
  emit(Number{0});
  std::vector<std::pair<std::vector<Number>, std::size_t>> stack;
  stack.emplace_back(following(0), 0);
  while (!stack.empty()) {
    auto& [items, next] = stack.back();
    if (next == items.size()) {
      stack.pop_back();
      continue;
    }
    const Number item = items[next++];
    if ((item & kBelow) == 0) emit(item);
    if (nested || (item & kBelow) != 0) {
      stack.emplace_back(following(item & ~kBelow), 0);
    }
  }
}

std::vector<Number> FolderTree::InPathOrder() const {
  std::vector<Number> order;
  order.reserve(size());
  Walk(false, [&](Number folder) { order.push_back(folder); });
  return order;
}

std::vector<Number> FolderTree::InTreeOrder() const {
  std::vector<Number> order;
  order.reserve(size());
  Walk(true, [&](Number folder) { order.push_back(folder); });
  return order;
}

}  // namespace mapgen
