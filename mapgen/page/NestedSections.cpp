#include "NestedSections.h"

namespace mapgen {
namespace {

constexpr std::string_view kSectionEnd = "</details>\n";

bool IsBelow(std::string_view folder, std::string_view above) {
  if (above == "/") return folder.size() > 1 && folder.starts_with('/');
  return folder.size() > above.size() && folder.starts_with(above) &&
         folder[above.size()] == '/';
}

}  // namespace

void NestedSections::EndUntilInside(std::string_view folder, std::string& out) {
  while (!open_.empty() && !IsBelow(folder, std::string_view(deepest_).substr(
                                                0, open_.back().pathLength))) {
    if (open_.back().written) out += kSectionEnd;
    open_.pop_back();
  }
}

bool NestedSections::Start(std::string_view folder, std::size_t files,
                           std::string_view start, std::string& out) {
  EndUntilInside(folder, out);
  // The base folder's section is always there: the page's tree.
  const bool shown = files > 0 || showEmpties_ || open_.empty();
  if (!shown) {
    Push(folder, false, start);
    return false;
  }
  for (Open& above : open_) {
    if (above.written) continue;
    out += above.heldStart;
    above.written = true;
    above.heldStart = {};
    ++folders_;
  }
  Push(folder, true, {});
  ++folders_;
  return true;
}

void NestedSections::Push(std::string_view folder, bool written,
                          std::string_view heldStart) {
  deepest_.assign(folder);
  open_.push_back({folder.size(), written, std::string(heldStart)});
}

void NestedSections::EndAll(std::string& out) { EndUntilInside({}, out); }

}  // namespace mapgen
