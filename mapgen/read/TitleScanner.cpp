#include "TitleScanner.h"

#include <algorithm>
#include <array>

#include "Ascii.h"
#include "Utf8.h"

namespace mapgen {

void TitleScanner::Feed(std::string_view bytes) {
  while (!bytes.empty() && !done_) {
    if (skipLineFeed_) {
      skipLineFeed_ = false;
      if (bytes.front() == '\n') bytes.remove_prefix(1);
      continue;
    }
    const std::size_t lineEnd = std::min(bytes.find('\r'), bytes.size());
    ScanLinePart(bytes.substr(0, lineEnd));
    if (lineEnd == bytes.size()) return;
    EndLine();
    bytes.remove_prefix(lineEnd + 1);
  }
}

std::string TitleScanner::Finish() {
  if (!done_ && phase_ == Phase::kCollect) Finalize(title_.size());
  return done_ ? title_ : std::string();
}

void TitleScanner::ScanLinePart(std::string_view part) {
  if (phase_ == Phase::kSeekStart) {
    SeekStart(part);
    return;
  }
  if (phase_ == Phase::kSeekTagEnd) {
    const std::size_t gt = part.find('>');
    if (gt == std::string_view::npos) return;
    phase_ = Phase::kCollect;
    part.remove_prefix(gt + 1);
  }
  Collect(part);
}

// Keeps the last few bytes of the line, so that an opening text split
// between two reads is still found.
void TitleScanner::SeekStart(std::string_view part) {
  const std::size_t keep = startTag_.empty() ? 0 : startTag_.size() - 1;
  // Offsets count in the carried bytes followed by `part`.
  std::size_t found = std::string::npos;
  if (!carry_.empty()) {
    const std::string joined = carry_ + std::string(part.substr(0, keep));
    found = FindIgnoringAsciiCase(joined, startTag_);
  }
  if (found == std::string::npos) {
    const std::size_t inPart = FindIgnoringAsciiCase(part, startTag_);
    if (inPart != std::string::npos) found = carry_.size() + inPart;
  }
  if (found == std::string::npos) {
    if (part.size() >= keep) {
      carry_.assign(part.substr(part.size() - keep));
    } else {
      carry_.append(part);
      carry_.erase(0, carry_.size() - std::min(carry_.size(), keep));
    }
    return;
  }
  // The tag's ">" is searched from the occurrence's second character on;
  // only a tag split between two reads needs its bytes joined.
  const std::size_t restStart = found + 1;
  const std::string joined = restStart < carry_.size()
                                 ? carry_.substr(restStart) + std::string(part)
                                 : std::string();
  const std::string_view rest = restStart < carry_.size()
                                    ? std::string_view(joined)
                                    : part.substr(restStart - carry_.size());
  carry_.clear();
  phase_ = Phase::kSeekTagEnd;
  ScanLinePart(rest);
}

void TitleScanner::Collect(std::string_view part) {
  const std::size_t searchFrom =
      title_.size() >= endTag_.size() ? title_.size() - endTag_.size() + 1 : 0;
  const std::size_t room = kMaxTitleBytes + endTag_.size() - title_.size();
  title_.append(part.substr(0, room));
  const std::size_t end = FindIgnoringAsciiCase(title_, endTag_, searchFrom);
  if (end != std::string::npos) {
    Finalize(end);
  } else if (title_.size() >= kMaxTitleBytes + endTag_.size()) {
    Finalize(title_.size());
  }
}

void TitleScanner::EndLine() {
  skipLineFeed_ = true;
  if (phase_ == Phase::kCollect && !title_.empty()) {
    Finalize(title_.size());
    return;
  }
  phase_ = Phase::kSeekStart;
  carry_.clear();
  title_.clear();
}

// Keeps the title's first `length` bytes, at most the cap. A character
// that the cap cuts in two is left out whole; bytes that form no
// character are kept as they are.
void TitleScanner::Finalize(std::size_t length) {
  if (length > kMaxTitleBytes) {
    length = kMaxTitleBytes;
    for (std::size_t back = 1; back < 4 && back <= length; ++back) {
      if (DecodeUtf8(title_, length - back).length > back) {
        length -= back;
        break;
      }
    }
  }
  title_.resize(length);
  done_ = true;
}

Outcome<void> ReadPageStart(FileReader& page,
                            const std::function<bool(std::string_view)>& take,
                            const StopCheck& stop) {
  // Pages usually name their title in the first few KiB; later reads take
  // larger steps through pages that do not.
  std::array<char, 64 * 1024> buffer;
  std::size_t step = 4096;
  for (bool more = true; more && !stop.StopRequested();) {
    const auto got = page.Read(buffer.data(), step);
    if (!got) return got.failure();
    if (*got == 0) break;
    more = take(std::string_view(buffer.data(), *got));
    step = buffer.size();
  }
  return {};
}

}  // namespace mapgen
