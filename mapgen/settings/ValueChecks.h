#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// Why a value cannot be a field's: what the field takes, and the part of
// the value that is wrong (the line of a list, or the whole value). The
// message reads "FIELD takes <takes>, not <culprit>".
struct Refusal {
  std::string takes;
  std::string_view culprit;
};

// The checks of the field table, one for each kind of value a field
// holds. Each gives nothing (an empty `takes`) for a value it takes. Every
// text field refuses a NUL, which no page, settings file or message can
// carry whole.
Refusal CheckText(std::string_view value);

// Globs of names, one a line: a name holds no "/", so a line that does
// would never match and leave out nothing.
Refusal CheckExcludeGlobs(std::string_view value);

// Nothing, or an absolute http:// or https:// address the XML sitemap's
// URLs can start with: a host in ASCII, no user, no query, no fragment, no
// blank or control character. Characters beyond ASCII may follow in the
// path, in UTF-8.
Refusal CheckSiteUrl(std::string_view value);

// A prefix that, read as a browser reads a link, starts no scheme but
// http:, https:, ftp: or file: (so no javascript:, data: or vbscript:, in
// any letter case, after blanks and with tabs and line breaks inside).
Refusal CheckLinkPrefix(std::string_view value);

// Nothing, or a path below the page's folder: neither absolute nor with a
// ".." segment. A settings file is trusted with the page's content, not
// with where files go.
Refusal CheckPathBelowPage(std::string_view value);

// Nothing, "classic" or "modern".
Refusal CheckTemplateName(std::string_view value);

// Nothing, or a language tag's shape (letters, digits and "-", at most 35
// characters, first a subtag of letters), as <html lang> takes it.
Refusal CheckLanguageTag(std::string_view value);

// Nothing, "file" or "git".
Refusal CheckLastmodSource(std::string_view value);

}  // namespace mapgen
