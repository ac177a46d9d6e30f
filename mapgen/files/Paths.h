#pragma once

#include <string>
#include <string_view>

#include "Outcome.h"

namespace mapgen {

// Folder paths are POSIX paths that never end in "/", except the root "/".

bool IsRoot(std::string_view folder);

// The path as a folder path: trailing "/" dropped, except the root's.
std::string WithoutTrailingSlashes(std::string_view path);

// The folder and a name joined by one "/".
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder that holds `path`: "/" for a name under the root, "." for a
// bare name.
std::string ParentFolder(std::string_view path);

// The folder's own name: the text after its last "/".
std::string_view LastName(std::string_view folder);

// The part of `folder` below `base` ("docs/old" for base "/w" and folder
// "/w/docs/old"); empty for the base folder itself.
std::string_view RelativeFolder(std::string_view folder, std::string_view base);

// The path from the root: a relative path is taken from the current
// folder, its "." and ".." kept as they are. Fails when the current folder
// cannot be told.
Outcome<std::string> AbsolutePath(const std::string& path);

// The path from the root without "." or ".." segments or a trailing "/":
// ".." drops the name before it, as a browser resolves an address, links
// not followed. Fails as AbsolutePath does.
Outcome<std::string> NormalAbsolutePath(const std::string& path);

// The name a map page is saved under unless the user names another.
inline constexpr std::string_view kMapFileName = "sitemap.html";

// The file a build writes its page to: "sitemap.tmp" in the base folder.
std::string TempMapPath(std::string_view base);

}  // namespace mapgen
