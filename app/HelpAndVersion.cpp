#include "HelpAndVersion.h"

#include "Version.h"

namespace tessary {

namespace {

constexpr const char* kUsage =
    "Usage: tessary [FOLDER]\n"
    "Opens the Tessary window, which builds one HTML site-map page of a\n"
    "folder tree. All the arguments, joined by blanks, name the base folder;\n"
    "a folder named like an option is given with its path: ./--help.\n"
    "\n"
    "  --help     show this usage and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "tessary-cli builds the same page from a script, without a display.\n"
    "Tessary is free software under the MIT License.\n";

}  // namespace

std::optional<std::string> HelpOrVersionText(
    const std::vector<std::string>& arguments) {
  // Only as the one argument: "--help me" is a folder's name.
  if (arguments.size() != 1) return std::nullopt;
  if (arguments[0] == "--help") return kUsage;
  if (arguments[0] == "--version") {
    return "tessary " + std::string(mapgen::kVersion) + "\n";
  }
  return std::nullopt;
}

}  // namespace tessary
