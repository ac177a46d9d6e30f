#pragma once

#include <string>

#include "FileSystem.h"
#include "UniqueFd.h"

namespace mapgen {

// The folder a build reads within: its base folder, held open, known by
// its identity and by the path the kernel gives for it. A file a link
// leads to counts as inside when the folder that holds it is this folder
// or lies below it, as the kernel sees the folder it opened, whatever the
// link's text says.
class FolderBoundary {
 public:
  // Holds the folder `folderFd` refers to, by a descriptor of its own.
  explicit FolderBoundary(int folderFd);

  // Whether the open folder `folderFd` is this folder or lies below it.
  bool Holds(int folderFd) const;

 private:
  bool HoldsByAncestry(int folderFd) const;

  UniqueFd fd_;
  FileId id_;
  std::string path_;  // the kernel's; empty when it gives none
};

// Opens, with the flags `flags` of openat(2), the file that the link
// `name` in the open folder `folderFd` leads to, link after link: each
// target's folder is opened by the kernel, its last name from that folder
// without following, so a link swapped meanwhile cannot lead anywhere but
// the folder it was found in. With O_PATH the end is opened for its facts
// alone. `outside` tells whether the folder holding the end lies outside
// `boundary`, also when the end cannot be opened. Failures name
// `shownPath`.
Outcome<UniqueFd> OpenLinkedFile(int folderFd, const std::string& name,
                                 int flags, const FolderBoundary& boundary,
                                 const std::string& shownPath, bool& outside);

}  // namespace mapgen
