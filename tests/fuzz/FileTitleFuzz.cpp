// Reads a title from fuzzed page bytes, delivered in reads of fuzzed,
// mostly tiny sizes, and checks it against the title found by reading the
// whole page at once, line by line.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "PageHead.h"
#include "TextCase.h"
#include "TitleScanner.h"

namespace {

using namespace mapgen;

// Hands out the page in reads of 1 to 16 bytes, so every boundary between
// two reads falls somewhere new.
class DribblingReader : public FileReader {
 public:
  DribblingReader(std::string_view page, std::string_view sizes) : rest_(page), sizes_(sizes) {}
  Outcome<std::size_t> Read(char* buffer, std::size_t size) override {
    const std::size_t step =
        sizes_.empty() ? size
                       : 1 + (static_cast<unsigned char>(sizes_[next_++ % sizes_.size()]) & 15);
    const std::size_t got = std::min({size, step, rest_.size()});
    std::memcpy(buffer, rest_.data(), got);
    rest_.remove_prefix(got);
    return got;
  }
  FileId Id() const override { return {}; }
  bool HasOtherNames() const override { return false; }

 private:
  std::string_view rest_, sizes_;
  std::size_t next_ = 0;
};

// The title the plain way: the page's lines one by one, in memory.
std::string WholePageTitle(std::string_view page) {
  std::size_t pos = 0;
  while (pos < page.size()) {
    const std::size_t cr = std::min(page.find('\r', pos), page.size());
    const std::string_view line = page.substr(pos, cr - pos);
    pos = cr + 1;
    if (pos < page.size() && page[pos] == '\n') ++pos;
    const std::size_t tag = FindIgnoringAsciiCase(line, "<TITLE");
    if (tag == std::string_view::npos) continue;
    const std::size_t gt = line.find('>', tag + 1);
    if (gt == std::string_view::npos || gt + 1 == line.size()) continue;
    std::string_view title = line.substr(gt + 1);
    title = title.substr(0, FindIgnoringAsciiCase(title, "</TITLE"));
    return std::string(title);
  }
  return {};
}

}  // namespace

// The first byte tells how many of the next bytes set the read sizes; the
// rest is the page. Pages stay far below the title cap, which the unit
// tests cover.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxTitleBytes) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t sizeBytes = std::min<std::size_t>(data[0] % 8, size - 1);
  const std::string_view sizes = input.substr(1, sizeBytes);
  const std::string_view page = input.substr(1 + sizeBytes);
  DribblingReader reader(page, sizes);
  const auto head = ReadPageHead(reader, {true, false, false}, StopCheck());
  if (!head || head->title != WholePageTitle(page)) __builtin_trap();
  return 0;
}
