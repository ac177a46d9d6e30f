#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace mapgen {

// What a build reads of the files its outputs replace.

// Opens the file at `path` when a file of its own stands at that name;
// null when nothing, a link, a folder, a pipe or a device stands there.
Outcome<std::unique_ptr<FileReader>> OpenPreviousFile(const FileSystem& fs,
                                                      const std::string& path);

// The robots.txt at `path` as OpenPreviousFile finds it, whole; empty when
// there is none. Fails when it cannot be read or holds more than `limit`
// bytes.
Outcome<std::string> ReadPreviousRobotsTxt(const FileSystem& fs,
                                           const std::string& path,
                                           std::size_t limit = 16 << 20);

// The text that the robots file at `path` (as ReadPreviousRobotsTxt reads
// it) must hold to name the sitemap at `url` (see RobotsTxtWithSitemap);
// nothing when it names it already.
Outcome<std::optional<std::string>> RobotsTxtNaming(const FileSystem& fs,
                                                    const std::string& path,
                                                    std::string_view url);

// The names of the parts of the sitemap `fileName` that the index text
// `xml` names: each <loc> whose last segment, decoded, is such a part's
// name ("sitemap-3.xml"). Any other address is no part of it.
std::vector<std::string> PartsNamedByIndex(std::string_view xml,
                                           std::string_view fileName);

// The parts that the sitemap at `path` names, when an index stands there
// (as OpenPreviousFile finds it, gzip-compressed or not): the files an
// earlier build left beside it. None when anything else stands there or
// it cannot be read.
std::vector<std::string> PreviousParts(const FileSystem& fs,
                                       const std::string& path);

}  // namespace mapgen
