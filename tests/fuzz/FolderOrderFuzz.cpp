// Feeds the folder tree names made of fuzzed bytes, a folder for each
// piece between NUL bytes and a level down after each "/" piece: the page
// order the tree finds folder by folder must be the order of the sorted
// full paths, and the nested order must hold every folder once.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FolderTree.h"
#include "Ordinal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mapgen::FolderTree tree("/w");
  std::vector<std::string> paths = {"/w"};
  std::vector<std::string> siblings;
  mapgen::FolderTree::Number parent = 0, last = 0;
  std::string name;
  const auto add = [&] {
    // A folder holds each name once, and a name is never empty.
    if (name.empty() || std::find(siblings.begin(), siblings.end(), name) != siblings.end()) {
      name.clear();
      return;
    }
    siblings.push_back(name);
    last = tree.Add(parent, name);
    paths.push_back(tree.Path(last));
    name.clear();
  };
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      add();
    } else if (data[i] == '/') {
      add();
      parent = last;
      siblings.clear();
    } else {
      name += static_cast<char>(data[i]);
    }
  }
  add();
  std::vector<std::string> inPathOrder;
  for (const auto folder : tree.InPathOrder()) inPathOrder.push_back(tree.Path(folder));
  std::sort(paths.begin(), paths.end(), mapgen::OrdinalLess);
  if (inPathOrder != paths) __builtin_trap();
  if (tree.InTreeOrder().size() != paths.size()) __builtin_trap();
  return 0;
}
