#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "FileSystem.h"
#include "StopCheck.h"

namespace mapgen {

// A title longer than this is cut to it, so a hostile page cannot fill the
// memory.
inline constexpr std::size_t kMaxTitleBytes = 64 * 1024;

// Finds a page's title in its bytes, fed chunk by chunk, holding no more
// than the title and a few bytes of the current line: the text after the
// opening tag `startTag` (letter case ignored, so "<TITLE" also finds
// "<title lang=en>") and its ">", up to the closing text `endTag` or the
// end of that line, from the first line that gives a non-empty text. Lines
// end at a carriage return, so a page with line feeds alone is one long
// line. Blanks around the title are kept.
class TitleScanner {
 public:
  TitleScanner(std::string_view startTag, std::string_view endTag)
      : startTag_(startTag), endTag_(endTag) {}

  bool Done() const { return done_; }

  void Feed(std::string_view bytes);

  // The title once the stream has ended or the scanner is done.
  std::string Finish();

 private:
  enum class Phase { kSeekStart, kSeekTagEnd, kCollect };

  void ScanLinePart(std::string_view part);
  void SeekStart(std::string_view part);
  void Collect(std::string_view part);
  void EndLine();
  void Finalize(std::size_t length);

  std::string_view startTag_, endTag_;
  Phase phase_ = Phase::kSeekStart;
  std::string carry_;
  std::string title_;
  bool skipLineFeed_ = false;
  bool done_ = false;
};

// Reads a page from its start through one buffer and hands each read to
// `take`, until it says it wants no more, the page ends or `stop` asks the
// build to stop.
Outcome<void> ReadPageStart(FileReader& page,
                            const std::function<bool(std::string_view)>& take,
                            const StopCheck& stop);

}  // namespace mapgen
