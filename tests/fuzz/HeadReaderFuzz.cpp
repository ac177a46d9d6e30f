// Reads fuzzed page bytes as a build reads a listed page's head, delivered
// in reads of fuzzed, mostly tiny sizes, and checks the result against the
// same page delivered whole: every boundary between two reads (inside a
// tag, a byte-order mark, a character of UTF-16, the end of the head) must
// change nothing. A title read without conversion is also checked against
// the title found the plain way, line by line in memory.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "Ascii.h"
#include "PageHead.h"
#include "TitleScanner.h"
#include "Utf8.h"

namespace {

using namespace mapgen;

// Hands out the page in reads of 1 to 16 bytes, or, without sizes, in
// reads as large as asked for.
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
    // A page in its files' own bytes never shows a NUL.
    std::string kept(title);
    std::erase(kept, '\0');
    return kept;
  }
  return {};
}

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

// The first byte chooses what is read (its low three bits: title, UTF-8,
// the sitemap's robots and canonical link) and how many of the next
// bytes set the read sizes; the rest is
// the page, no longer than the reader's first read, so that a whole page
// comes in one read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const HeadReading reading{(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  const std::size_t sizeBytes = std::min<std::size_t>(data[0] >> 3 & 7, size - 1);
  const std::string_view sizes = input.substr(1, sizeBytes);
  const std::string_view page = input.substr(1 + sizeBytes);
  DribblingReader pieces(page, sizes), whole(page, {});
  const auto inPieces = ReadPageHead(pieces, reading, StopCheck());
  const auto atOnce = ReadPageHead(whole, reading, StopCheck());
  Check(inPieces && atOnce);
  Check(inPieces->title == atOnce->title && inPieces->noindex == atOnce->noindex &&
        inPieces->canonical == atOnce->canonical);
  if (reading.utf8) Check(IsValidUtf8(atOnce->title));
  if (reading.title && !reading.utf8 && !reading.robots) {
    Check(atOnce->title == WholePageTitle(page));
  }
  return 0;
}
