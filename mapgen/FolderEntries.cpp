#include "FolderEntries.h"

#include <algorithm>
#include <unordered_map>

#include "BuildFailure.h"
#include "FileTitle.h"
#include "Ordinal.h"
#include "Paths.h"
#include "SafeText.h"

namespace mapgen {
namespace {

bool ShowsTitles(int style) { return style == 1 || style == 2; }

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

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

struct FileIdHash {
  std::size_t operator()(const FileId& id) const {
    return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
  }
};

// Reads the titles of one folder's web pages, each page's once: names that
// lead to one page (hard links) share its title.
class TitleReader {
 public:
  TitleReader(FolderHandle& folder, FolderEntries& entries,
              const BuildObserver& observer)
      : folder_(folder), entries_(entries), observer_(observer) {}

  void ReadAll() {
    for (std::size_t i = 0; i < entries_.files.size(); ++i) {
      if (entries_.webPages[i]) entries_.titles[i] = Read(entries_.files[i]);
    }
  }

 private:
  std::string_view Read(const std::string& name) {
    Failure failure;
    const auto page = folder_.OpenFile(name, failure);
    if (page == nullptr) return Unreadable(std::move(failure));
    const bool shared = page->HasOtherNames();
    if (shared) {
      const auto known = sharedTitles_.find(page->Id());
      if (known != sharedTitles_.end()) return known->second;
    }
    const std::string text =
        FileTitle(*page, "<TITLE", "</TITLE", observer_, failure);
    if (!failure.reason.empty()) return Unreadable(std::move(failure));
    const std::string_view title = Keep(TrimBlanks(text));
    if (shared) sharedTitles_.emplace(page->Id(), title);
    return title;
  }

  std::string_view Keep(std::string_view title) {
    if (title.empty()) return {};
    entries_.titleTexts.push_back(std::make_unique<const std::string>(title));
    return *entries_.titleTexts.back();
  }

  std::string_view Unreadable(Failure failure) {
    ThrowIfShortage(failure);
    entries_.unreadable.push_back(std::move(failure));
    return {};
  }

  FolderHandle& folder_;
  FolderEntries& entries_;
  const BuildObserver& observer_;
  std::unordered_map<FileId, std::string_view, FileIdHash> sharedTitles_;
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

FolderEntries PrepareFolderEntries(const FileSystem& fs, Folder folder,
                                   const MapSettings& settings,
                                   const ExtensionIndex& extensions,
                                   const BuildObserver& observer) {
  FolderEntries entries{std::move(folder.path),
                        ListFolderFiles(folder.files, extensions), {}, {}, {},
                        {}};
  if (!folder.failure.empty()) {
    entries.unreadable.push_back({entries.path, std::move(folder.failure)});
  }
  for (const std::string& name : entries.files) {
    entries.webPages.push_back(IsWebPage(ExtensionOf(name), settings));
  }
  entries.titles.resize(entries.files.size());
  const bool anyPage = std::find(entries.webPages.begin(),
                                 entries.webPages.end(),
                                 true) != entries.webPages.end();
  if (!ShowsTitles(SelectedStyle(settings)) || !anyPage) return entries;
  Failure failure;
  const auto opened = fs.Reopen(entries.path, folder.id, failure);
  if (opened == nullptr) {
    ThrowIfShortage(failure);
    entries.unreadable.push_back(std::move(failure));
    return entries;
  }
  TitleReader(*opened, entries, observer).ReadAll();
  return entries;
}

void RenderFolderEntries(const FolderEntries& folder, const std::string& base,
                         const MapSettings& settings, std::string& out) {
  if (folder.files.empty()) return;
  const bool bullets = IsChecked(settings.chkBullets);
  EntryWriter writer(out, settings, LinkPrefix(folder.path, base));
  if (bullets) out += "<UL>";
  for (std::size_t i = 0; i < folder.files.size(); ++i) {
    const std::string& name = folder.files[i];
    if (bullets) out += "<LI>";
    writer.Entry(name, folder.titles[i], folder.webPages[i]);
    out += "<br>\r\n";
  }
  if (bullets) out += "</UL>";
}

}  // namespace mapgen
