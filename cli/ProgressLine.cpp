#include "ProgressLine.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "Utf8.h"

namespace cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(50);
constexpr std::size_t kDefaultColumns = 80;
constexpr const char* kBackToLineStart = "\r\033[K";
constexpr std::string_view kCut = "...";

// The end of `folder` that fits in `room` columns, "..." in front when cut.
// Counting bytes never counts fewer than the columns shown; control
// characters, which would move the cursor, are shown as '?'.
std::string FolderTail(const std::string& folder, std::size_t room) {
  std::string_view tail = folder;
  if (tail.size() > room) {
    if (room <= kCut.size()) return {};
    tail = tail.substr(tail.size() - (room - kCut.size()));
    while (!tail.empty() && mapgen::IsUtf8Continuation(tail.front())) {
      tail.remove_prefix(1);
    }
  }
  std::string shown(tail.size() < folder.size() ? kCut : "");
  for (const char c : tail) {
    shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
  }
  return shown;
}

}  // namespace

void ProgressLine::Show(const std::string& folder, std::size_t done,
                        std::size_t total) {
  const auto now = std::chrono::steady_clock::now();
  if (now < nextDraw_) return;
  nextDraw_ = now + kRedrawInterval;
  std::string line = std::to_string(done) + "/" + std::to_string(total) + " ";
  // The last column stays free: writing into it makes some terminals wrap.
  const std::size_t columns = Columns() - 1;
  line = line.size() < columns
             ? line + FolderTail(folder, columns - line.size())
             : line.substr(0, columns);
  std::fputs((kBackToLineStart + line).c_str(), terminal_);
  std::fflush(terminal_);
  drawn_ = true;
}

void ProgressLine::Clear() {
  if (!drawn_) return;
  std::fputs(kBackToLineStart, terminal_);
  std::fflush(terminal_);
  drawn_ = false;
  // The next folder is shown at once, not after a pause.
  nextDraw_ = {};
}

// Asked at every redraw, which is cheap at this rate, so that a resized
// window is followed.
std::size_t ProgressLine::Columns() const {
  winsize size{};
  if (::ioctl(::fileno(terminal_), TIOCGWINSZ, &size) != 0 || size.ws_col < 2) {
    return kDefaultColumns;
  }
  return size.ws_col;
}

}  // namespace cli
