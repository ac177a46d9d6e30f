#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "BuildObserver.h"
#include "ExtensionFilter.h"
#include "FileSystem.h"
#include "GetSubDirectories.h"
#include "MapSettings.h"

namespace mapgen {

// The names a folder shows on the page, in page order: every file of the
// first listed extension, then of the second, and so on; each group in
// ordinal order.
using FolderFileList = std::vector<std::string>;

FolderFileList ListFolderFiles(const std::vector<std::string>& files,
                               const ExtensionIndex& extensions);

// One folder, ready to be rendered: its files, which of them are web
// pages, and, for the styles that show them, the trimmed titles of its web
// pages (empty for other files). A page with several names in the folder
// (hard links) has its title read and held once.
struct FolderEntries {
  std::string path;
  FolderFileList files;
  std::vector<bool> webPages;
  std::vector<std::string_view> titles;  // each in `titleTexts`
  std::vector<Failure> unreadable;  // the folder itself, or pages
  std::vector<std::unique_ptr<const std::string>> titleTexts;
};

// Lists a folder's files and reads the titles its entries need, opening
// the pages relative to the folder. Throws BuildFailure when the machine
// runs short.
FolderEntries PrepareFolderEntries(const FileSystem& fs, Folder folder,
                                   const MapSettings& settings,
                                   const ExtensionIndex& extensions,
                                   const BuildObserver& observer);

// Appends the HTML of a folder's entries, one line per file; nothing when
// the folder lists no file. `base` is the base folder, from which links are
// relative.
void RenderFolderEntries(const FolderEntries& folder, const std::string& base,
                         const MapSettings& settings, std::string& out);

}  // namespace mapgen
