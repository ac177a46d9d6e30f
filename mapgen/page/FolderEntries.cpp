#include "FolderEntries.h"

#include <algorithm>

#include "Escaping.h"
#include "InvalidUtf8.h"
#include "Paths.h"
#include "SizeAndTime.h"

namespace mapgen {
namespace {

// The folder's path below the base and "/", which every link of the
// folder's files goes through; nothing for the base folder.
std::string FolderLink(const std::string& folder, const std::string& base) {
  if (folder == base) return {};
  return std::string(RelativeFolder(folder, base)) + '/';
}

// Writes one folder's entries, with names, titles and links as they stand
// or, with safe links, as text and quoted, encoded addresses.
class EntryWriter {
 public:
  EntryWriter(std::string& out, const PageFormat& format,
              std::string folderLink)
      : out_(out), format_(format), folderLink_(std::move(folderLink)) {
    if (format.safe || (!format.utf8 && !format.modern)) return;
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

  void Entry(const std::string& name, std::string_view title, bool webPage) {
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

 private:
  template <typename WriteText>
  void Link(std::string_view name, WriteText writeText) {
    if (format_.safe) {
      out_ += "<a href=\"";
      if (format_.userPrefix) {
        AppendEncodedAddress(out_, format_.linkStart);
      } else {
        AppendPercentEncodedPath(out_, format_.linkStart);
      }
      AppendPercentEncodedPath(out_, folderLink_);
      AppendPercentEncodedPath(out_, name);
      out_ += "\">";
    } else if (!format_.utf8 && !format_.modern) {
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
  // given. An HTML5 page quotes the link.
  void UnsafeLink(std::string_view name) {
    out_ += format_.modern ? "<a href=\"" : "<a href=";
    if (format_.utf8 && !(startsValid_ && IsValidUtf8(name))) {
      out_ += encodedStart_;
      AppendPercentEncodedPath(out_, name);
    } else {
      out_ += linkStart_;
      AppendAttribute(out_, name);
    }
    out_ += format_.modern ? "\">" : ">";
  }

  // Appends text as a link holds it, on an HTML5 page escaped.
  void AppendAttribute(std::string& out, std::string_view text) const {
    if (format_.modern) {
      AppendEscapedText(out, text);
    } else {
      out += text;
    }
  }

  void Text(std::string_view text) { AppendShownName(out_, text, format_); }

  void Title(std::string_view title, std::string_view fallback) {
    if (title.empty()) {
      out_ += fallback;
    } else if (format_.safe) {
      AppendEscapedTitle(out_, title);
    } else {
      out_ += title;
    }
  }

  std::string& out_;
  const PageFormat& format_;
  const std::string folderLink_;
  // What UnsafeLink writes before a name, as it stands and encoded, and
  // whether the path up to the name is UTF-8.
  std::string linkStart_, encodedStart_;
  bool startsValid_ = true;
};

// The size and time after an entry of the modern page.
void AppendFacts(std::string& out, const std::optional<FileFacts>& facts) {
  if (!facts) return;
  out += " <small>";
  AppendHumanSize(out, facts->size);
  if (const std::string_view time = LocalDateTime(facts->modified);
      !time.empty()) {
    out += ", ";
    out += time;
  }
  out += "</small>";
}

}  // namespace

bool ShowsTitles(const MapSettings& settings) {
  const int style = SelectedStyle(settings);
  return style == 1 || style == 2;
}

void RenderEntries(const FolderEntries& folder, std::size_t from,
                   std::size_t to, const FileDetails& details,
                   const PageFormat& format, std::string& out) {
  const bool bullets = IsChecked(format.settings.chkBullets);
  EntryWriter writer(out, format, FolderLink(folder.path, format.base));
  for (std::size_t i = from; i < to; ++i) {
    const std::size_t read = i - from;
    const std::string_view title =
        details.titles.empty() ? "" : std::string_view(details.titles[read]);
    if (format.modern) {
      out += "<li>";
      writer.Entry(folder.files[i], title, folder.webPages[i]);
      if (!details.facts.empty()) AppendFacts(out, details.facts[read]);
      out += "</li>\n";
      continue;
    }
    if (bullets) out += "<LI>";
    writer.Entry(folder.files[i], title, folder.webPages[i]);
    out += "<br>\r\n";
  }
}

std::string_view EntriesStart(const PageFormat& format) {
  if (format.modern) return "<ul>\n";
  return IsChecked(format.settings.chkBullets) ? "<UL>" : "";
}

std::string_view EntriesEnd(const PageFormat& format) {
  if (format.modern) return "</ul>\n";
  return IsChecked(format.settings.chkBullets) ? "</UL>" : "";
}

void RenderFolderEntries(const FolderEntries& folder, const PageFormat& format,
                         std::string& out) {
  if (folder.files.empty()) return;
  out += EntriesStart(format);
  RenderEntries(folder, 0, folder.files.size(), folder.details, format, out);
  out += EntriesEnd(format);
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
