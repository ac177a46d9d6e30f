#pragma once

#include <string>
#include <string_view>

#include "Colour.h"
#include "FolderEntries.h"
#include "MapSettings.h"
#include "PageFormat.h"

namespace mapgen {

// The footer of every page: its words, then a link to the home page.
inline constexpr std::string_view kFooterWords =
    "This webpage generated using <b>Tessary</b> by ";
inline constexpr std::string_view kHomePage = "https://corvale.example";

// How often `ch` occurs in `str` after its first character; overlapping
// occurrences of a longer `ch` each count.
int CountCharacters(std::string_view str, std::string_view ch);

// How many levels `folder` lies below `base`: 0 for the base itself.
int IndentLevel(std::string_view folder, std::string_view base);

// The page from its start through the preface (and the modern page's
// filter box).
void WritePageHead(const PageFormat& format, std::string& mapText);

// Whether a folder with `files` entries has a section: not when it lists
// none, unless empty folders are shown.
bool ShowsSection(const MapSettings& settings, std::size_t files);

// A folder's section is written in three parts: its start, indented by its
// level, with its heading (on the classic page none for the base folder);
// its entries; its end. With `hasFiles`, the start and the end frame the
// entries.
void WriteSectionStart(const PageFormat& format, const std::string& folder,
                       bool hasFiles, std::string& mapText);
void WriteSectionEnd(const PageFormat& format, const std::string& folder,
                     bool hasFiles, std::string& mapText);

// One folder's whole section, or nothing when it has none.
void WriteFolderSection(const PageFormat& format, const FolderEntries& entries,
                        std::string& mapText);

// The appendix, the footer and the end of the page.
void WritePageTail(const PageFormat& format, std::string& mapText);

}  // namespace mapgen
