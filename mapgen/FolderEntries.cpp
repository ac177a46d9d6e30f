#include "FolderEntries.h"

#include <algorithm>

#include "FileTitle.h"
#include "Ordinal.h"
#include "Paths.h"

namespace mapgen {
namespace {

bool ShowsTitles(int style) { return style == 1 || style == 2; }

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A file of the base folder links to its bare name; any other to its
// folder's path below the base, "/", and the name.
std::string LinkTarget(const std::string& folder, const std::string& base,
                       const std::string& name) {
  if (folder == base) return name;
  return JoinPath(RelativeFolder(folder, base), name);
}

void AppendLink(std::string& out, std::string_view target,
                std::string_view text) {
  out += "<a href=";
  out += target;
  out += '>';
  out += text;
  out += "</a>";
}

void AppendEntry(std::string& out, const std::string& name,
                 const std::string& title, const std::string& target,
                 bool webPage, int style) {
  if (style == 4) {
    out += name;
  } else if (!webPage) {
    AppendLink(out, target, name);
  } else if (style == 1) {
    AppendLink(out, target, title.empty() ? "No Title  " : title);
  } else if (style == 2) {
    out += title.empty() ? "No title: " : title;
    out += "   ";
    AppendLink(out, target, name);
  } else {
    AppendLink(out, target, target);
  }
}

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
                                   const ExtensionIndex& extensions) {
  FolderEntries entries{std::move(folder.path),
                        ListFolderFiles(folder.files, extensions), {}, {}};
  if (!folder.failure.empty()) {
    entries.unreadable.push_back({entries.path, std::move(folder.failure)});
  }
  entries.titles.resize(entries.files.size());
  if (!ShowsTitles(SelectedStyle(settings))) return entries;
  for (std::size_t i = 0; i < entries.files.size(); ++i) {
    const std::string& name = entries.files[i];
    if (!IsWebPage(ExtensionOf(name), settings)) continue;
    Failure failure;
    entries.titles[i] = std::string(TrimBlanks(
        FileTitle(fs, entries.path, name, "<TITLE", "</TITLE", &failure)));
    if (!failure.reason.empty()) entries.unreadable.push_back(failure);
  }
  return entries;
}

std::string RenderFolderEntries(const FolderEntries& folder,
                                const std::string& base,
                                const MapSettings& settings) {
  std::string out;
  if (folder.files.empty()) return out;
  const bool bullets = IsChecked(settings.chkBullets);
  const int style = SelectedStyle(settings);
  if (bullets) out += "<UL>";
  for (std::size_t i = 0; i < folder.files.size(); ++i) {
    const std::string& name = folder.files[i];
    if (bullets) out += "<LI>";
    AppendEntry(out, name, folder.titles[i],
                LinkTarget(folder.path, base, name),
                IsWebPage(ExtensionOf(name), settings), style);
    out += "<br>\r\n";
  }
  if (bullets) out += "</UL>";
  return out;
}

}  // namespace mapgen
