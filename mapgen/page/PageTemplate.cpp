#include "PageTemplate.h"

#include "ClassicTemplate.h"
#include "ModernTemplate.h"

namespace mapgen {

std::unique_ptr<PageTemplate> ChooseTemplate(const PageFormat& format) {
  if (IsModern(format.settings)) {
    return std::make_unique<ModernTemplate>(format);
  }
  return std::make_unique<ClassicTemplate>(format);
}

void WriteSectionRun(const PageTemplate& page, const MapSettings& settings,
                     const FolderEntries& folder, std::size_t from,
                     std::size_t to, const FileDetails& details,
                     std::string& out) {
  const std::size_t files = folder.files.size();
  if (files == 0 && !IsChecked(settings.chkShowEmpties) &&
      !page.NestsSections()) {
    return;
  }
  if (from == 0) page.SectionStart(folder.path, files, out);
  page.Entries(folder, from, to, details, out);
  if (to == files) page.SectionEnd(folder.path, files, out);
}

}  // namespace mapgen
