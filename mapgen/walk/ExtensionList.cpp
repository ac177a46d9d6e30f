#include "ExtensionList.h"

#include <algorithm>
#include <unordered_set>

#include "TextCase.h"

namespace mapgen {
namespace {

// The extension that each of the check boxes 1 to 4 adds.
constexpr const char* kFixedExtensions[] = {"ASP", "TXT", "PDF", "JPG"};

// Keeps each extension once: a repeat is skipped without a word.
class ListBuilder {
 public:
  void Add(std::string extension) {
    if (seen_.insert(extension).second) list_.push_back(std::move(extension));
  }
  ExtensionList Take() { return std::move(list_); }

 private:
  ExtensionList list_;
  std::unordered_set<std::string> seen_;
};

// Only the blank, the comma and the dot separate typed extensions; a tab or
// a semicolon stays part of one.
void AddTypedExtensions(ListBuilder& list, std::string_view typed) {
  std::string text = UpperCase(typed);
  std::replace(text.begin(), text.end(), '.', ' ');
  std::replace(text.begin(), text.end(), ',', ' ');
  std::size_t pos = 0;
  while (true) {
    pos = text.find_first_not_of(' ', pos);
    if (pos == std::string::npos) return;
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    list.Add(text.substr(pos, end - pos));
    pos = end;
  }
}

}  // namespace

ExtensionList BuildExtensionList(const MapSettings& settings) {
  ListBuilder list;
  if (IsChecked(settings.chkExtension[0])) {
    list.Add("HTML");
    list.Add("HTM");
  }
  for (std::size_t i = 1; i <= 4; ++i) {
    if (IsChecked(settings.chkExtension[i])) list.Add(kFixedExtensions[i - 1]);
  }
  if (IsChecked(settings.chkExtension[5])) {
    AddTypedExtensions(list, settings.txtExtensions);
  }
  return list.Take();
}

std::string ExtensionOf(std::string_view name) {
  const std::size_t dot = name.find('.');
  return UpperCase(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string LastExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return UpperCase(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string ExtensionOf(std::string_view name, const MapSettings& settings) {
  return IsChecked(settings.chkLastExtension) ? LastExtensionOf(name)
                                              : ExtensionOf(name);
}

bool IsWebPage(std::string_view extension, const MapSettings& settings) {
  if (extension == "HTML" || extension == "HTM") return true;
  return settings.chkHTMext != kUnchecked &&
         extension.find("HTM") != std::string_view::npos;
}

ExtensionIndex::ExtensionIndex(const ExtensionList& extensions) {
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    positions_.emplace(extensions[i], i);
  }
}

std::optional<std::size_t> ExtensionIndex::Find(
    const std::string& extension) const {
  const auto found = positions_.find(extension);
  if (found == positions_.end()) return std::nullopt;
  return found->second;
}

}  // namespace mapgen
