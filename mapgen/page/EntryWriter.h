#pragma once

#include <string>
#include <string_view>

#include "PageFormat.h"

namespace mapgen {

// Writes the entries of one folder: names, titles and links as they stand
// or, with safe links, as text and quoted, encoded addresses. An HTML5
// page quotes every link and escapes what it holds.
class EntryWriter {
 public:
  EntryWriter(std::string& out, const PageFormat& format,
              const std::string& folder, bool html5);

  // The entry of the file `name`, a web page or not, with its title (empty
  // when it has none or the style shows none), as the entry style shows it.
  void Entry(std::string_view name, std::string_view title, bool webPage);

 private:
  template <typename WriteText>
  void Link(std::string_view name, WriteText writeText);
  void UnsafeLink(std::string_view name);
  void AppendAttribute(std::string& out, std::string_view text) const;
  void Text(std::string_view text);
  void Title(std::string_view title, std::string_view fallback);

  std::string& out_;
  const PageFormat& format_;
  const bool html5_;
  // The folder's path below the base and "/", which every link of its
  // files goes through; nothing for the base folder.
  const std::string folderLink_;
  // What a safe link's address holds before the name, encoded once for
  // all the folder's entries.
  std::string safeStart_;
  // What UnsafeLink writes before a name, as it stands and encoded, and
  // whether the path up to the name is UTF-8.
  std::string linkStart_, encodedStart_;
  bool startsValid_ = true;
};

// Appends the text of a name or a heading as the page shows it: on a page
// that declares UTF-8 with bytes that are not UTF-8 replaced, with safe
// links as text.
void AppendShownName(std::string& out, std::string_view text,
                     const PageFormat& format);

}  // namespace mapgen
