#pragma once

#include <string>

#include "PageTemplate.h"

namespace mapgen {

// The modern page: HTML5 for phones and desktops alike. Every folder's
// section is a <details open> with its name as the <summary>, so readers
// fold away what they do not need; a filter box above the sections hides
// the entries that do not hold what is typed. The box is the one thing
// that needs a script, and the script does nothing until something is
// typed, so a page of 100,000 entries loads as fast as without it. The
// options of the classic page apply here as styles. Entries show the
// size and time of their file.
class ModernTemplate : public PageTemplate {
 public:
  explicit ModernTemplate(const PageFormat& format);

  void Head(std::string& out) const override;
  void SectionStart(const std::string& folder, bool hasFiles,
                    std::string& out) const override;
  void Entries(const FolderEntries& folder, std::size_t from, std::size_t to,
               const FileDetails& details, std::string& out) const override;
  void SectionEnd(const std::string& folder, bool hasFiles,
                  std::string& out) const override;
  void Tail(std::string& out) const override;
  bool ShowsSizesAndTimes() const override { return true; }

 private:
  const PageFormat& format_;
};

}  // namespace mapgen
