#pragma once

#include <string>
#include <string_view>

namespace cli {

// The text with every control byte (below 0x20, and 0x7F) written as
// \xHH, so that a file name can neither steer a terminal nor split a
// message line in two.
std::string ShownOnTerminal(std::string_view text);

}  // namespace cli
