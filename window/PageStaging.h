#pragma once

#include <QString>
#include <string>

#include "FileSystem.h"

namespace tessary {

// Where a build writes its page until Save puts it in place.
struct StagedPage {
  std::string path;
  // A hidden file of the build's own, made to hold the name; it goes
  // again when the build does not fill it.
  bool reserved = false;
};

// "sitemap.tmp" in the base folder, as ever, when the user may write
// there. In a folder the user may only read, a hidden file of its own in
// `saveFolder`, which Save must be able to write anyway: its name is
// new, so it replaces no file of the user's and no other window's page.
// False, with a message naming both folders, when neither can be written.
bool StagePage(const mapgen::FileSystem& fs, const std::string& base,
               const std::string& saveFolder, StagedPage& page,
               QString& problem);

// The hidden page name beside `page` that a browser takes for a web page:
// ".sitemap-preview.html" beside "sitemap.tmp".
std::string PreviewPathBeside(const std::string& page);

}  // namespace tessary
