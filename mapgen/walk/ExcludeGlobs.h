#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mapgen {

// The names a build leaves out: the globs of txtExclude, matched against a
// file's or folder's name as fnmatch(3) matches them without flags, letter
// case counting. `?` and `[...]` take one UTF-8 character whatever the
// process's locale, so the window and tessary-cli agree.
class ExcludeGlobs {
 public:
  ExcludeGlobs() = default;

  // One glob a line; lines end at LF, a CR before it is dropped, and empty
  // lines are ignored.
  explicit ExcludeGlobs(std::string_view lines);

  // With no globs this is one test, so a build without them pays nothing.
  bool Matches(const char* name) const {
    return !globs_.empty() && MatchesAny(name);
  }
  bool Matches(const std::string& name) const { return Matches(name.c_str()); }
  bool Matches(std::string_view name) const {
    return !globs_.empty() && MatchesAny(std::string(name).c_str());
  }

  const std::vector<std::string>& globs() const { return globs_; }

 private:
  bool MatchesAny(const char* name) const;

  std::vector<std::string> globs_;
  bool asciiGlobs_ = true;
};

}  // namespace mapgen
