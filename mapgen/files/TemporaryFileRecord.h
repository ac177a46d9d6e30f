#pragma once

#include <string_view>

namespace mapgen {

// The name every temporary page begins with: hidden, so that no walk lists
// one that a killed run left behind, and recognisable as Tessary's.
inline constexpr std::string_view kTemporaryPrefix = ".tessary-";

// A temporary file being written, named where a signal handler can find it
// until the object ends: by then it is renamed into place or removed.
class TemporaryFileRecord {
 public:
  // `folderFd` stays open, and `name` names the file in it, while the
  // record lives.
  TemporaryFileRecord(int folderFd, std::string_view name);
  ~TemporaryFileRecord();
  TemporaryFileRecord(const TemporaryFileRecord&) = delete;
  TemporaryFileRecord& operator=(const TemporaryFileRecord&) = delete;

 private:
  int slot_;  // -1 when every slot was taken
};

// Removes every temporary file being written. Safe in a signal handler.
void RemoveTemporaryFiles() noexcept;

}  // namespace mapgen
