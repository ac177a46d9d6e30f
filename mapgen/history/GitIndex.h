#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "FileSystem.h"
#include "Outcome.h"

namespace mapgen {

// A file as git's index records it when it was last staged or found
// unchanged: what git compares with the work tree before it reads the file.
struct IndexEntry {
  std::string_view name;   // from the top of the work tree
  std::string_view id;     // the object's id, as raw bytes
  FileStamp stamp;         // as git keeps it: 32 bits of the inode
  std::uint32_t size = 0;  // 32 bits of the size; 0 when git has doubts
  std::uint32_t mode = 0;  // git's: 0100644, 0100755, 0120000, 0160000
  // Marked by the user as unchanged, or outside a sparse checkout: git
  // takes such a file as it is staged without a look at it.
  bool taken = false;
  // In conflict, or only announced to git: not as committed in any case.
  bool unsettled = false;
};

// What a read of the index found, besides its entries.
struct IndexRead {
  // The index file's time: a file changed in the same moment may look as
  // staged while it is not ("racily clean"), which git checks by content.
  std::int64_t seconds = 0;
  std::uint32_t nanoseconds = 0;
  // The id of the tree that the index would commit, as raw bytes, when
  // the index keeps it (its cache tree, valid at its top).
  std::string tree;
};

// Reads git's index file at `path`, whose object ids are `idSize` bytes,
// telling `expect` how many entries it holds and of how many bytes, then
// handing each entry to `take` in the index's order. Fails, with the
// reason, for what this reader does not know: versions other than 2 to 4,
// a split or sparse index, or any extension that git requires to be
// understood; git itself reads those. Since such an extension follows the
// entries, what was handed to `take` before a failure is to be dropped.
Outcome<IndexRead> ReadGitIndex(
    const std::string& path, std::size_t idSize,
    const std::function<void(std::size_t entries, std::size_t bytes)>& expect,
    const std::function<void(const IndexEntry&)>& take);

// An object id in hexadecimal, as git prints it.
std::string HexadecimalId(std::string_view id);

}  // namespace mapgen
