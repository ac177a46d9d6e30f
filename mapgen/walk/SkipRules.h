#pragma once

#include <string_view>

#include "FileSystem.h"

namespace mapgen {

// What the walk shows and enters: names that begin with "." are hidden;
// a file or a link to one is listed; only a real folder, never a link to
// one, is walked.
bool IsListed(std::string_view name, EntryKind kind);
bool IsWalked(std::string_view name, EntryKind kind);

}  // namespace mapgen
