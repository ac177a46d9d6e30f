#pragma once

#include <string>
#include <string_view>

#include "NestedSections.h"
#include "PageTemplate.h"

namespace mapgen {

// The modern page: HTML5 for phones, desktops and every reader. The folders
// form a tree: each is a <details> holding its files and its subfolders'
// sections, with its name and file count in the <summary>; the script adds
// the count of the files below it at load, and runs the filter box, which
// shows the files and folders whose names or titles hold what is typed.
// The page is whole without the script. Names and titles are always text
// and links always quoted and percent-encoded; the options of the classic
// page apply as rules of the one style sheet, never as style attributes.
// Entries show the size and time of their file.
class ModernTemplate : public PageTemplate {
 public:
  explicit ModernTemplate(const PageFormat& format);

  void Head(std::string& out) const override;
  void SectionStart(const std::string& folder, std::size_t files,
                    std::string& out) const override;
  void Entries(const FolderEntries& folder, std::size_t from, std::size_t to,
               const FileDetails& details, std::string& out) const override;
  void SectionEnd(const std::string& folder, std::size_t files,
                  std::string& out) const override;
  bool NestsSections() const override { return true; }
  bool PlaceSection(const std::string& folder, std::size_t files,
                    std::string_view section, std::string& before) override;
  void Tail(std::size_t files, std::string& out) override;
  bool ShowsSizesAndTimes() const override { return true; }

 private:
  const PageFormat& format_;
  NestedSections sections_;
};

}  // namespace mapgen
