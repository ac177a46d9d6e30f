#include "FolderSection.h"

#include <algorithm>
#include <utility>

#include "BuildFailure.h"
#include "FileTitle.h"
#include "PageWriter.h"

namespace mapgen {
namespace {

// A run's titles may each be 64 KiB long, so a run holds few pages; a run
// without titles holds more entries, each a name and a link.
constexpr std::size_t kPagesPerRun = 16;
constexpr std::size_t kEntriesPerRun = 512;
// The titles kept for the pages that have several names in one folder.
constexpr std::size_t kMostSharedTitleBytes = 1 << 20;

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::size_t> RunStarts(const FolderEntries& entries,
                                   bool titles) {
  std::vector<std::size_t> starts = {0};
  std::size_t pages = 0;
  for (std::size_t i = 0; i < entries.files.size(); ++i) {
    if (i - starts.back() == kEntriesPerRun ||
        (titles && pages == kPagesPerRun)) {
      starts.push_back(i);
      pages = 0;
    }
    if (entries.webPages[i]) ++pages;
  }
  starts.push_back(entries.files.size());
  return starts;
}

bool HasPages(const SectionPlan& plan, std::size_t run) {
  const auto& pages = plan.entries.webPages;
  return std::find(pages.begin() + plan.runStarts[run],
                   pages.begin() + plan.runStarts[run + 1],
                   true) != pages.begin() + plan.runStarts[run + 1];
}

void Unreadable(Failure failure, std::vector<Failure>& unreadable) {
  ThrowIfShortage(failure);
  unreadable.push_back(std::move(failure));
}

}  // namespace

SectionMaker::SectionMaker(const FileSystem& fs, const MapSettings& settings,
                           const std::string& base,
                           const BuildObserver& observer)
    : fs_(fs), settings_(settings), base_(base), observer_(observer),
      extensions_(BuildExtensionList(settings)),
      titles_(ShowsTitles(settings)) {}

PagePiece SectionMaker::First(const Folder& folder,
                              std::shared_ptr<SectionPlan>& plan) const {
  auto made = std::make_shared<SectionPlan>();
  FolderEntries& entries = made->entries;
  entries.path = folder.path;
  made->id = folder.id;
  std::vector<Failure> unreadable;
  std::unique_ptr<FolderHandle> opened;
  if (!folder.failure.empty()) {
    unreadable.push_back({folder.path, folder.failure});
  } else {
    Failure failure;
    opened = fs_.Reopen(folder.path, folder.id, failure);
    if (opened == nullptr ||
        !ListShownFiles(*opened, extensions_, entries.files, failure)) {
      Unreadable(std::move(failure), unreadable);
      entries.files.clear();
      opened.reset();
    }
  }
  for (const std::string& name : entries.files) {
    entries.webPages.push_back(IsWebPage(ExtensionOf(name), settings_));
  }
  made->runStarts = RunStarts(entries, titles_);
  PagePiece piece = Piece(*made, 0, opened.get(), std::move(unreadable));
  piece.files = entries.files.size();
  piece.webPages = std::ranges::count(entries.webPages, true);
  if (made->Runs() > 1) plan = std::move(made);
  return piece;
}

PagePiece SectionMaker::Next(SectionPlan& plan, std::size_t run) const {
  std::unique_ptr<FolderHandle> folder;
  std::vector<Failure> unreadable;
  if (titles_ && HasPages(plan, run)) {
    Failure failure;
    folder = fs_.Reopen(plan.entries.path, plan.id, failure);
    const std::lock_guard lock(plan.mutex);
    // The folder replaced halfway is told of once.
    if (folder == nullptr && !std::exchange(plan.reopenFailed, true)) {
      Unreadable(std::move(failure), unreadable);
    }
  }
  return Piece(plan, run, folder.get(), std::move(unreadable));
}

PagePiece SectionMaker::Piece(SectionPlan& plan, std::size_t run,
                              FolderHandle* folder,
                              std::vector<Failure> unreadable) const {
  PagePiece piece;
  const FolderEntries& entries = plan.entries;
  std::vector<std::string> titles;
  if (titles_ && folder != nullptr && HasPages(plan, run)) {
    ReadTitles(plan, run, *folder, titles, unreadable);
  }
  piece.unreadable = std::move(unreadable);
  piece.endsFolder = run + 1 == plan.Runs();
  const std::size_t files = entries.files.size();
  if (!ShowsSection(settings_, files)) return piece;
  if (run == 0) {
    WriteSectionStart(settings_, base_, entries.path, files > 0, piece.html);
  }
  RenderEntries(entries, plan.runStarts[run], plan.runStarts[run + 1],
                titles.empty() ? nullptr : titles.data(), base_, settings_,
                piece.html);
  if (piece.endsFolder) {
    WriteSectionEnd(settings_, base_, entries.path, files > 0, piece.html);
  }
  return piece;
}

// Reads the titles of a run's pages, each page's once where names in the
// folder lead to one page (hard links).
void SectionMaker::ReadTitles(SectionPlan& plan, std::size_t run,
                              FolderHandle& folder,
                              std::vector<std::string>& titles,
                              std::vector<Failure>& unreadable) const {
  const std::size_t from = plan.runStarts[run];
  titles.resize(plan.runStarts[run + 1] - from);
  for (std::size_t i = 0; i < titles.size(); ++i) {
    if (!plan.entries.webPages[from + i]) continue;
    Failure failure;
    const auto page = folder.OpenFile(plan.entries.files[from + i], failure);
    if (page == nullptr) {
      Unreadable(std::move(failure), unreadable);
      continue;
    }
    const bool shared = page->HasOtherNames();
    if (shared) {
      const std::lock_guard lock(plan.mutex);
      const auto known = plan.sharedTitles.find(page->Id());
      if (known != plan.sharedTitles.end()) {
        titles[i] = known->second;
        continue;
      }
    }
    const std::string text =
        FileTitle(*page, "<TITLE", "</TITLE", observer_, failure);
    if (!failure.reason.empty()) {
      Unreadable(std::move(failure), unreadable);
      continue;
    }
    titles[i] = TrimBlanks(text);
    const std::lock_guard lock(plan.mutex);
    const std::size_t bytes = plan.sharedBytes + titles[i].size();
    if (shared && bytes <= kMostSharedTitleBytes) {
      plan.sharedBytes += titles[i].size();
      plan.sharedTitles.emplace(page->Id(), titles[i]);
    }
  }
}

}  // namespace mapgen
