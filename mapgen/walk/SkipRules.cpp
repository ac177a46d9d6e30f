#include "SkipRules.h"

namespace mapgen {
namespace {

bool IsHidden(std::string_view name) { return name.starts_with('.'); }

}  // namespace

bool IsListed(std::string_view name, EntryKind kind) {
  return !IsHidden(name) &&
         (kind == EntryKind::kFile || kind == EntryKind::kLinkToFile);
}

bool IsWalked(std::string_view name, EntryKind kind) {
  return !IsHidden(name) && kind == EntryKind::kFolder;
}

}  // namespace mapgen
