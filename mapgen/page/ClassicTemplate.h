#pragma once

#include <string>

#include "PageTemplate.h"

namespace mapgen {

// The classic page: HTML 3 as the first releases wrote it, byte for byte,
// lines ended by CR LF. Each folder's section is its name as a heading
// (none for the base folder), indented with one <UL> a level, and its
// files one a line.
class ClassicTemplate : public PageTemplate {
 public:
  explicit ClassicTemplate(const PageFormat& format);

  void Head(std::string& out) const override;
  void SectionStart(const std::string& folder, std::size_t files,
                    std::string& out) const override;
  void Entries(const FolderEntries& folder, std::size_t from, std::size_t to,
               const FileDetails& details, std::string& out) const override;
  void SectionEnd(const std::string& folder, std::size_t files,
                  std::string& out) const override;
  void Tail(std::size_t files, std::string& out) override;

 private:
  const PageFormat& format_;
};

}  // namespace mapgen
