#include "FileTitle.h"

#include "TitleScanner.h"

namespace mapgen {

std::string FileTitle(FileReader& page, std::string_view startstrg,
                      std::string_view endstrg, const StopCheck& stop) {
  TitleScanner scanner(startstrg, endstrg);
  const auto feed = [&](std::string_view bytes) {
    scanner.Feed(bytes);
    return !scanner.Done();
  };
  if (!ReadPageStart(page, feed, stop)) return {};
  return scanner.Finish();
}

}  // namespace mapgen
