#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FileSystem.h"
#include "NameList.h"

namespace mapgen {

// What was read of some of a folder's files, each list empty when nothing
// of its kind was read, else one element a file: the trimmed title (empty
// for a file that is no web page) and the size and time, when known.
struct FileDetails {
  std::vector<std::string> titles;
  std::vector<std::optional<FileFacts>> facts;
};

// Entries of one folder, ready to be written: their names in page order,
// which of them are web pages, and what was read of them.
struct FolderEntries {
  std::string path;
  NameList files;
  std::vector<bool> webPages;
  FileDetails details;
};

}  // namespace mapgen
