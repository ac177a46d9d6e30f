#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ExtensionFilter.h"
#include "FileSystem.h"
#include "MapSettings.h"

namespace mapgen {

// The names a folder shows on the page, in page order: every file of the
// first listed extension, then of the second, and so on; each group in
// ordinal order.
using FolderFileList = std::vector<std::string>;

FolderFileList ListFolderFiles(const std::vector<std::string>& files,
                               const ExtensionIndex& extensions);

// Lists the files of an open folder that the page shows, in page order;
// false with `failure` set when the folder cannot be read.
bool ListShownFiles(FolderHandle& folder, const ExtensionIndex& extensions,
                    FolderFileList& files, Failure& failure);

// Entries of one folder, ready to be rendered: their names, which of them
// are web pages, and, for the styles that show them and where they were
// read, the trimmed titles of the web pages (empty for other files).
struct FolderEntries {
  std::string path;
  FolderFileList files;
  std::vector<bool> webPages;
  std::vector<std::string> titles;  // empty, or one for each file
};

// Whether the entry style shows the titles of web pages, which then must be
// read.
bool ShowsTitles(const MapSettings& settings);

// Appends the HTML of the entries [from, to) of a folder, one line per file,
// with the titles `titles[0]` to `titles[to - from - 1]`, or none. `base` is
// the base folder, from which links are relative.
void RenderEntries(const FolderEntries& folder, std::size_t from,
                   std::size_t to, const std::string* titles,
                   const std::string& base, const MapSettings& settings,
                   std::string& out);

// The text that frames a folder's entries when bullets are on.
std::string_view EntriesStart(const MapSettings& settings);
std::string_view EntriesEnd(const MapSettings& settings);

// Appends the HTML of all of a folder's entries, framed; nothing when the
// folder lists no file.
void RenderFolderEntries(const FolderEntries& folder, const std::string& base,
                         const MapSettings& settings, std::string& out);

}  // namespace mapgen
