#pragma once

#include "SkipRules.h"
#include "StopCheck.h"

namespace mapgen {

// How GetSubDirectories walks.
struct WalkOptions {
  // Every folder below the base at any depth (chkShowSubfolders), or the
  // base folder alone.
  bool all = true;
  // At most this many threads list folders at once; the list is the same
  // for any number.
  unsigned threads = 1;
  // Which folders are left out besides hidden ones and links (see
  // SkipRules); null for those alone.
  const SkipRules* rules = nullptr;
  // Asked now and then whether to give up; null for never.
  const StopCheck* stop = nullptr;
};

}  // namespace mapgen
