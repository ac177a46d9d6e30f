#include "TerminalText.h"

namespace cli {

std::string ShownOnTerminal(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  shown.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
      continue;
    }
    shown += "\\x";
    shown += kHex[byte >> 4];
    shown += kHex[byte & 0xF];
  }
  return shown;
}

}  // namespace cli
