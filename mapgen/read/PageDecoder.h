#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace mapgen {

// Titles for a page that declares UTF-8, from pages that declare another
// character set (see DeclaredCharset).
//
// Pages in UTF-16 write even their tags in two-byte units, so the title
// reader runs their bytes through a PageDecoder first and searches the
// decoded text for "<title" and the meta tags as it does any page; what it
// finds is UTF-8 already.

// The title as UTF-8. `charset` is a label, read as browsers read it (see
// EncodingOfLabel): a title whose page declares no character set, UTF-8,
// or a label browsers do not know is taken as UTF-8. Bytes that are not a
// character of the set, or not valid UTF-8, show as U+FFFD. The
// conversion descriptors are kept per thread, so a page pays for opening
// one only once per thread.
std::string TitleToUtf8(std::string title, std::string_view charset);

// Decodes a page to UTF-8 as it is read, chunk by chunk. In a set the
// system does not know, the bytes pass unchanged.
class PageDecoder {
 public:
  explicit PageDecoder(std::string_view charset);
  ~PageDecoder();
  PageDecoder(const PageDecoder&) = delete;
  PageDecoder& operator=(const PageDecoder&) = delete;

  // The UTF-8 text of `bytes`; a character cut at their end is finished by
  // the next call. A byte-order mark at the start of the page is dropped.
  std::string Decode(std::string_view bytes);

  // U+FFFD when the page ended inside a character, else nothing.
  std::string Finish();

 private:
  iconv_t descriptor_;
  std::size_t unit_;
  std::string carry_;
  bool atStart_ = true;
};

}  // namespace mapgen
