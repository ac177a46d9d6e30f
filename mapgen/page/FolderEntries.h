#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "MapSettings.h"
#include "PageFormat.h"

namespace mapgen {

// What was read of some of a folder's files, each list empty when nothing
// of its kind was read, else one element a file: the trimmed title (empty
// for a file that is no web page) and the size and time, when known.
struct FileDetails {
  std::vector<std::string> titles;
  std::vector<std::optional<FileFacts>> facts;
};

// Entries of one folder, ready to be rendered: their names, which of them
// are web pages, and what was read of them.
struct FolderEntries {
  std::string path;
  std::vector<std::string> files;  // in page order
  std::vector<bool> webPages;
  FileDetails details;
};

// Whether the entry style shows the titles of web pages, which then must be
// read.
bool ShowsTitles(const MapSettings& settings);

// Appends the HTML of the entries [from, to) of a folder, one line per file,
// with `details` read of those files.
void RenderEntries(const FolderEntries& folder, std::size_t from,
                   std::size_t to, const FileDetails& details,
                   const PageFormat& format, std::string& out);

// The text that frames a folder's entries: a list on the modern page,
// and on the classic page when bullets are on.
std::string_view EntriesStart(const PageFormat& format);
std::string_view EntriesEnd(const PageFormat& format);

// Appends the HTML of all of a folder's entries, framed; nothing when the
// folder lists no file.
void RenderFolderEntries(const FolderEntries& folder, const PageFormat& format,
                         std::string& out);

// Appends the text of a name or a heading as the page shows it: on a page
// that declares UTF-8 with bytes that are not UTF-8 replaced, with safe
// links as text.
void AppendShownName(std::string& out, std::string_view text,
                     const PageFormat& format);

}  // namespace mapgen
