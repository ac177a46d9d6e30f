#pragma once

#include <string>

#include "PageFormat.h"

namespace mapgen {

// The modern page: HTML5 for phones and desktops alike. Every folder's
// section is a <details open> with its name as the <summary>, so readers
// fold away what they do not need; a filter box above the sections hides
// the entries that do not hold what is typed. The box is the one thing
// that needs a script, and the script does nothing until something is
// typed, so a page of 100,000 entries loads as fast as without it. The
// options of the classic page apply here as styles.

// From the doctype through the filter box.
void WriteModernHead(const PageFormat& format, std::string& out);

// The start and end of the section of `folder`, framing its entries when
// it has files.
void WriteModernSectionStart(const PageFormat& format,
                             const std::string& folder, bool hasFiles,
                             std::string& out);
void WriteModernSectionEnd(const PageFormat& format, bool hasFiles,
                           std::string& out);

// The appendix, the footer, the script and the end of the page.
void WriteModernTail(const PageFormat& format, std::string& out);

}  // namespace mapgen
