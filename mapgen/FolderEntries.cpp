#include "FolderEntries.h"

#include <algorithm>

#include "GetSubDirectories.h"
#include "Ordinal.h"
#include "Paths.h"
#include "SafeText.h"

namespace mapgen {
namespace {

// What every link target of a folder begins with: nothing for the base
// folder, whose files link to their bare names; for any other folder its
// path below the base and "/".
std::string LinkPrefix(const std::string& folder, const std::string& base) {
  if (folder == base) return {};
  return std::string(RelativeFolder(folder, base)) + '/';
}

// Writes one folder's entries, with names, titles and links as they stand
// or, with safe links, as text and quoted, encoded addresses.
class EntryWriter {
 public:
  EntryWriter(std::string& out, const MapSettings& settings,
              std::string linkPrefix)
      : out_(out), safe_(IsChecked(settings.chkSafeLinks)),
        style_(SelectedStyle(settings)), linkPrefix_(std::move(linkPrefix)) {}

  void Entry(const std::string& name, std::string_view title, bool webPage) {
    if (style_ == 4) {
      Text(name);
    } else if (!webPage) {
      Link(name, [&] { Text(name); });
    } else if (style_ == 1) {
      Link(name, [&] { Title(title, "No Title  "); });
    } else if (style_ == 2) {
      Title(title, "No title: ");
      out_ += "   ";
      Link(name, [&] { Text(name); });
    } else {
      Link(name, [&] {
        Text(linkPrefix_);
        Text(name);
      });
    }
  }

 private:
  template <typename WriteText>
  void Link(std::string_view name, WriteText writeText) {
    if (safe_) {
      out_ += "<a href=\"";
      AppendPercentEncodedPath(out_, linkPrefix_);
      AppendPercentEncodedPath(out_, name);
      out_ += "\">";
    } else {
      out_ += "<a href=";
      out_ += linkPrefix_;
      out_ += name;
      out_ += '>';
    }
    writeText();
    out_ += "</a>";
  }

  void Text(std::string_view text) {
    if (safe_) {
      AppendEscapedText(out_, text);
    } else {
      out_ += text;
    }
  }

  void Title(std::string_view title, std::string_view fallback) {
    if (title.empty()) {
      out_ += fallback;
    } else if (safe_) {
      AppendEscapedTitle(out_, title);
    } else {
      out_ += title;
    }
  }

  std::string& out_;
  const bool safe_;
  const int style_;
  const std::string linkPrefix_;
};

}  // namespace

FolderFileList ListFolderFiles(const std::vector<std::string>& files,
                               const ExtensionIndex& extensions) {
  std::vector<FolderFileList> groups(extensions.size());
  for (const std::string& name : files) {
    if (const auto group = extensions.Find(ExtensionOf(name))) {
      groups[*group].push_back(name);
    }
  }
  FolderFileList list;
  for (FolderFileList& group : groups) {
    std::sort(group.begin(), group.end(), OrdinalLess);
    std::move(group.begin(), group.end(), std::back_inserter(list));
  }
  return list;
}

bool ListShownFiles(FolderHandle& folder, const ExtensionIndex& extensions,
                    FolderFileList& files, Failure& failure) {
  std::vector<std::string> listed;
  const bool read = folder.List(
      [&](std::string_view name, EntryKind kind) {
        if (IsListed(name, kind)) listed.emplace_back(name);
      },
      failure);
  files = ListFolderFiles(listed, extensions);
  return read;
}

bool ShowsTitles(const MapSettings& settings) {
  const int style = SelectedStyle(settings);
  return style == 1 || style == 2;
}

void RenderEntries(const FolderEntries& folder, std::size_t from,
                   std::size_t to, const std::string* titles,
                   const std::string& base, const MapSettings& settings,
                   std::string& out) {
  const bool bullets = IsChecked(settings.chkBullets);
  EntryWriter writer(out, settings, LinkPrefix(folder.path, base));
  for (std::size_t i = from; i < to; ++i) {
    if (bullets) out += "<LI>";
    const std::string_view title =
        titles != nullptr ? std::string_view(titles[i - from]) : "";
    writer.Entry(folder.files[i], title, folder.webPages[i]);
    out += "<br>\r\n";
  }
}

std::string_view EntriesStart(const MapSettings& settings) {
  return IsChecked(settings.chkBullets) ? "<UL>" : "";
}

std::string_view EntriesEnd(const MapSettings& settings) {
  return IsChecked(settings.chkBullets) ? "</UL>" : "";
}

void RenderFolderEntries(const FolderEntries& folder, const std::string& base,
                         const MapSettings& settings, std::string& out) {
  if (folder.files.empty()) return;
  out += EntriesStart(settings);
  RenderEntries(folder, 0, folder.files.size(),
                folder.titles.empty() ? nullptr : folder.titles.data(), base,
                settings, out);
  out += EntriesEnd(settings);
}

}  // namespace mapgen
