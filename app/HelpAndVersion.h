#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessary {

// What "tessary --help" or "tessary --version" prints. Decided before the
// window toolkit starts, so that neither needs a display. Nothing for any
// other command line: that one names a folder.
std::optional<std::string> HelpOrVersionText(
    const std::vector<std::string>& arguments);

}  // namespace tessary
