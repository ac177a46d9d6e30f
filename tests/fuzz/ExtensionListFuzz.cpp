// Checks the typed-extension parser against the plain algorithm: replace
// dots and commas by blanks, trim, upper-case, then peel off the part
// before each blank.
#include <algorithm>
#include <cstdint>
#include <string>

#include "ExtensionList.h"
#include "TextCase.h"

namespace {

std::string Trim(const std::string& s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

mapgen::ExtensionList PlainParse(std::string text) {
  std::replace(text.begin(), text.end(), '.', ' ');
  std::replace(text.begin(), text.end(), ',', ' ');
  text = mapgen::UpperCase(Trim(text));
  mapgen::ExtensionList list;
  auto add = [&](const std::string& e) {
    if (std::find(list.begin(), list.end(), e) == list.end()) list.push_back(e);
  };
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string::npos) {
      add(text);
      break;
    }
    add(text.substr(0, blank));
    text = Trim(text.substr(blank));
  }
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mapgen::MapSettings settings;
  settings.chkExtension = {0, 0, 0, 0, 0, 1};
  settings.txtExtensions.assign(reinterpret_cast<const char*>(data), size);
  if (mapgen::BuildExtensionList(settings) != PlainParse(settings.txtExtensions)) {
    __builtin_trap();
  }
  mapgen::ExtensionOf(settings.txtExtensions);
  return 0;
}
