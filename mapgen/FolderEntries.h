#pragma once

#include <string>
#include <vector>

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
// pages (empty for other files).
struct FolderEntries {
  std::string path;
  FolderFileList files;
  std::vector<bool> webPages;
  std::vector<std::string> titles;
  std::vector<Failure> unreadable;  // the folder itself, or pages
};

// Lists a folder's files and reads the titles its entries need.
FolderEntries PrepareFolderEntries(const FileSystem& fs, Folder folder,
                                   const MapSettings& settings,
                                   const ExtensionIndex& extensions);

// The HTML of a folder's entries, one line per file; empty when the folder
// lists no file. `base` is the base folder, from which links are relative.
std::string RenderFolderEntries(const FolderEntries& folder,
                                const std::string& base,
                                const MapSettings& settings);

}  // namespace mapgen
