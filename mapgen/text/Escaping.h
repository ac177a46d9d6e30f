#pragma once

#include <string>
#include <string_view>

namespace mapgen {

// With safe links on, names and titles reach the page as text and links as
// quoted, percent-encoded addresses, so that no file name or page title a
// stranger chose can become markup.

// Whether an address holds `c` as it is: the unreserved characters of
// RFC 3986.
bool IsUnreservedInUrl(char c);

// Appends "%" and the byte's two upper-case hexadecimal digits.
void AppendPercentEncoded(std::string& out, char c);

// The text with each "%" and two hexadecimal digits made the byte they
// stand for; any other "%" stays as it is.
std::string PercentDecoded(std::string_view text);

// Appends the link target with each path segment percent-encoded from its
// bytes; the unreserved characters of RFC 3986 and the "/" between
// segments stay as they are.
void AppendPercentEncodedPath(std::string& out, std::string_view target);

// Appends an address the user gave (a link prefix such as
// "https://example.org/docs/") for a quoted attribute: the characters an
// address may hold, its own "%" escapes among them, stay as they are;
// any other byte is percent-encoded, and "&" written as "&amp;".
void AppendEncodedAddress(std::string& out, std::string_view address);

// Appends the text with "&", "<", ">" and the quotation mark escaped.
void AppendEscapedText(std::string& out, std::string_view text);

// Appends a page title, which is HTML source already: "<", ">" and the
// quotation mark are escaped, and an "&" only where it begins no character
// reference, so the title shows as a browser shows it in its title bar.
void AppendEscapedTitle(std::string& out, std::string_view title);

}  // namespace mapgen
