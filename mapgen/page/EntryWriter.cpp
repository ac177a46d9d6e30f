#include "EntryWriter.h"

#include "Escaping.h"
#include "Paths.h"
#include "Utf8.h"

namespace mapgen {
namespace {

std::string FolderLink(const std::string& folder, const std::string& base) {
  if (folder == base) return {};
  return std::string(RelativeFolder(folder, base)) + '/';
}

}  // namespace

EntryWriter::EntryWriter(std::string& out, const PageFormat& format,
                         const std::string& folder, bool html5)
    : out_(out),
      format_(format),
      html5_(html5),
      folderLink_(FolderLink(folder, format.base)) {
  if (format.safe) {
    if (format.userPrefix) {
      AppendEncodedAddress(safeStart_, format.linkStart);
    } else {
      AppendPercentEncodedPath(safeStart_, format.linkStart);
    }
    AppendPercentEncodedPath(safeStart_, folderLink_);
    return;
  }
  if (!format.utf8) return;
  const std::string_view pathStart = format.userPrefix
                                         ? std::string_view()
                                         : std::string_view(format.linkStart);
  startsValid_ = IsValidUtf8(pathStart) && IsValidUtf8(folderLink_);
  if (format.userPrefix) {
    AppendAttribute(linkStart_, format.linkStart);
    encodedStart_ = linkStart_;
  }
  AppendAttribute(linkStart_, pathStart);
  AppendAttribute(linkStart_, folderLink_);
  AppendPercentEncodedPath(encodedStart_, pathStart);
  AppendPercentEncodedPath(encodedStart_, folderLink_);
}

void EntryWriter::Entry(std::string_view name, std::string_view title,
                        bool webPage) {
  const int style = format_.style;
  if (style == 4) {
    Text(name);
  } else if (!webPage) {
    Link(name, [&] { Text(name); });
  } else if (style == 1) {
    Link(name, [&] { Title(title, "No Title  "); });
  } else if (style == 2) {
    Title(title, "No title: ");
    out_ += "   ";
    Link(name, [&] { Text(name); });
  } else {
    Link(name, [&] {
      Text(folderLink_);
      Text(name);
    });
  }
}

template <typename WriteText>
void EntryWriter::Link(std::string_view name, WriteText writeText) {
  if (format_.safe) {
    out_ += "<a href=\"";
    out_ += safeStart_;
    AppendPercentEncodedPath(out_, name);
    out_ += "\">";
  } else if (!format_.utf8) {
    out_ += "<a href=";
    out_ += format_.linkStart;
    out_ += folderLink_;
    out_ += name;
    out_ += '>';
  } else {
    UnsafeLink(name);
  }
  writeText();
  out_ += "</a>";
}

// A link without safe links, on a page that declares UTF-8: a path that
// is not UTF-8 is percent-encoded byte by byte ("bad%FFname.txt"), so
// the browser asks for exactly the file's bytes; the prefix is left as
// given.
void EntryWriter::UnsafeLink(std::string_view name) {
  out_ += html5_ ? "<a href=\"" : "<a href=";
  if (!(startsValid_ && IsValidUtf8(name))) {
    out_ += encodedStart_;
    AppendPercentEncodedPath(out_, name);
  } else {
    out_ += linkStart_;
    AppendAttribute(out_, name);
  }
  out_ += html5_ ? "\">" : ">";
}

// Appends text as a link holds it, on an HTML5 page escaped.
void EntryWriter::AppendAttribute(std::string& out,
                                  std::string_view text) const {
  if (html5_) {
    AppendEscapedText(out, text);
  } else {
    out += text;
  }
}

void EntryWriter::Text(std::string_view text) {
  AppendShownName(out_, text, format_);
}

void EntryWriter::Title(std::string_view title, std::string_view fallback) {
  if (title.empty()) {
    out_ += fallback;
  } else if (format_.safe) {
    AppendEscapedTitle(out_, title);
  } else {
    out_ += title;
  }
}

void AppendShownName(std::string& out, std::string_view text,
                     const PageFormat& format) {
  std::string valid;
  if (format.utf8 && !IsValidUtf8(text)) {
    AppendReplacingInvalidUtf8(valid, text);
    text = valid;
  }
  if (format.safe) {
    AppendEscapedText(out, text);
  } else {
    out += text;
  }
}

}  // namespace mapgen
