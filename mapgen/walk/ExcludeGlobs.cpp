#include "ExcludeGlobs.h"

#include <fnmatch.h>

#include <algorithm>

#include "Ascii.h"
#include "TextCase.h"
#include "TextLines.h"

namespace mapgen {
namespace {

// Switches the calling thread to a locale for as long as it lives; other
// threads keep theirs.
class ThreadLocale {
 public:
  explicit ThreadLocale(locale_t locale)
      : previous_(locale ? uselocale(locale) : nullptr) {}
  ~ThreadLocale() {
    if (previous_) uselocale(previous_);
  }
  ThreadLocale(const ThreadLocale&) = delete;
  ThreadLocale& operator=(const ThreadLocale&) = delete;

 private:
  locale_t previous_;
};

locale_t CLocale() {
  static const locale_t locale =
      newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

}  // namespace

ExcludeGlobs::ExcludeGlobs(std::string_view lines) {
  while (!lines.empty()) {
    const std::string_view line = TakeLine(lines);
    if (line.empty()) continue;
    globs_.emplace_back(line);
    asciiGlobs_ = asciiGlobs_ && IsAscii(line);
  }
}

bool ExcludeGlobs::MatchesAny(const char* name) const {
  // On ASCII alone, matching bytes gives the same answers several times
  // faster than matching characters.
  const bool bytes = asciiGlobs_ && IsAscii(name);
  const ThreadLocale locale(bytes ? CLocale() : Utf8Locale());
  for (const std::string& glob : globs_) {
    if (fnmatch(glob.c_str(), name, 0) == 0) return true;
  }
  return false;
}

}  // namespace mapgen
