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

// Finds the title in a stream of bytes fed to it chunk by chunk, as
// FileTitle does, holding no more than the title and a few bytes of the
// current line.
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
// `take`, until it says it wants no more, the page ends or the observer
// asks the build to stop; false, with `failure` set, when a read failed.
bool ReadPageStart(FileReader& page,
                   const std::function<bool(std::string_view)>& take,
                   const StopCheck& observer, Failure& failure);

// The text after the opening tag `startstrg` (letter case ignored, so
// "<TITLE" also finds "<title lang=en>") and its ">", up to the closing text
// `endstrg` or the end of that line, from the first line that gives a
// non-empty text. Lines end at a carriage return, so a file with line feeds
// alone is one long line. The page is read as a stream through one buffer,
// no further than the title's line, and not at all once the observer asks
// the build to stop. Blanks around the title are kept. A page that cannot
// be read gives the empty title, with `failure` set.
std::string FileTitle(FileReader& page, std::string_view startstrg,
                      std::string_view endstrg, const StopCheck& observer,
                      Failure& failure);

}  // namespace mapgen
