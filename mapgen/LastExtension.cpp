#include "LastExtension.h"

#include "TextCase.h"

namespace mapgen {

std::string LastExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return UpperCase(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

}  // namespace mapgen
