#include "SectionMaker.h"

#include <algorithm>
#include <utility>

#include "Ascii.h"
#include "CanonicalUrl.h"
#include "Escaping.h"
#include "FolderFileList.h"
#include "Paths.h"
#include "SitemapWriter.h"

namespace mapgen {
namespace {

// A run's titles may each be 64 KiB long, so a run holds few pages; a run
// without titles holds more entries, each a name and a link.
constexpr std::size_t kPagesPerRun = 16;
constexpr std::size_t kEntriesPerRun = 512;
// What is kept of the pages that have several names in one folder.
constexpr std::size_t kMostSharedTitleBytes = 1 << 20;

std::vector<std::size_t> RunStarts(const FolderEntries& entries,
                                   bool readsPages) {
  std::vector<std::size_t> starts = {0};
  std::size_t pages = 0;
  for (std::size_t i = 0; i < entries.files.size(); ++i) {
    if (i - starts.back() == kEntriesPerRun ||
        (readsPages && pages == kPagesPerRun)) {
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

bool HasLinks(const SectionPlan& plan, std::size_t run) {
  for (std::size_t i = plan.runStarts[run]; i < plan.runStarts[run + 1]; ++i) {
    if (plan.entries.files.Marked(i)) return true;
  }
  return false;
}

// The piece, unless the machine ran short while it was made: a shortage may
// hit any page, so a build past it could silently miss some and must end
// instead.
Outcome<PagePiece> Checked(PagePiece piece) {
  for (Failure& failure : piece.unreadable) {
    if (IsShortage(failure)) return std::move(failure);
  }
  return piece;
}

}  // namespace

std::size_t PagePiece::Bytes() const {
  return html.size() + sitemapUrls.size() +
         undatedUrls.size() * sizeof(UndatedUrl);
}

bool SectionPlan::FirstToFailReopening() {
  const MutexLock lock(mutex_);
  return !std::exchange(reopenFailed_, true);
}

std::optional<PageHead> SectionPlan::SharedHead(FileId id) {
  const MutexLock lock(mutex_);
  const auto known = sharedHeads_.find(id);
  if (known == sharedHeads_.end()) return std::nullopt;
  return known->second;
}

void SectionPlan::KeepSharedHead(FileId id, const PageHead& head) {
  const MutexLock lock(mutex_);
  const std::size_t bytes = sharedBytes_ + head.title.size();
  if (bytes > kMostSharedTitleBytes) return;
  sharedBytes_ = bytes;
  sharedHeads_.emplace(id, head);
}

SectionMaker::SectionMaker(const FileSystem& fs, const PageFormat& format,
                           const PageTemplate& page, const SkipRules& rules,
                           const BuildObserver& observer,
                           SitemapReading sitemap, const ReadBoundary* within)
    : fs_(fs),
      format_(format),
      page_(page),
      rules_(rules),
      observer_(observer),
      sitemap_(std::move(sitemap)),
      within_(within),
      heads_{ShowsTitles(format.settings), format.utf8,
             !sitemap_.urlStart.empty()},
      readsPages_(heads_.title || heads_.robots),
      facts_(page.ShowsSizesAndTimes() || heads_.robots) {}

Outcome<PagePiece> SectionMaker::First(
    const Folder& folder, std::shared_ptr<SectionPlan>& plan) const {
  auto made = std::make_shared<SectionPlan>();
  FolderEntries& entries = made->entries;
  entries.path = folder.path;
  made->id = folder.id;
  std::vector<Failure> unreadable;
  std::unique_ptr<FolderHandle> opened;
  if (folder.unreadable) {
    unreadable.push_back(*folder.unreadable);
  } else if (auto reopened = fs_.Reopen(folder.path, folder.id); !reopened) {
    unreadable.push_back(std::move(reopened).failure());
  } else if (auto files = ListShownFiles(**reopened, rules_); !files) {
    unreadable.push_back(std::move(files).failure());
  } else {
    opened = std::move(*reopened);
    entries.files = std::move(*files);
  }
  for (std::size_t i = 0; i < entries.files.size(); ++i) {
    entries.webPages.push_back(rules_.IsWebPage(entries.files[i]));
  }
  made->runStarts = RunStarts(entries, readsPages_);
  PagePiece piece = Piece(*made, 0, opened.get(), std::move(unreadable));
  piece.files = entries.files.size();
  piece.webPages = std::ranges::count(entries.webPages, true);
  if (made->Runs() > 1) plan = std::move(made);
  return Checked(std::move(piece));
}

// Whether the run reads anything of its files, or must tell of links that
// lead outside even where it reads nothing.
bool SectionMaker::OpensFolder(const SectionPlan& plan, std::size_t run) const {
  return facts_ || (readsPages_ && HasPages(plan, run)) ||
         (within_ != nullptr && HasLinks(plan, run));
}

Outcome<PagePiece> SectionMaker::Next(SectionPlan& plan,
                                      std::size_t run) const {
  std::unique_ptr<FolderHandle> folder;
  std::vector<Failure> unreadable;
  if (OpensFolder(plan, run)) {
    auto reopened = fs_.Reopen(plan.entries.path, plan.id);
    if (reopened) {
      folder = std::move(*reopened);
    } else if (plan.FirstToFailReopening()) {
      // The folder replaced halfway is told of once.
      unreadable.push_back(std::move(reopened).failure());
    }
  }
  return Checked(Piece(plan, run, folder.get(), std::move(unreadable)));
}

PagePiece SectionMaker::Piece(SectionPlan& plan, std::size_t run,
                              FolderHandle* folder,
                              std::vector<Failure> unreadable) const {
  PagePiece piece;
  const FolderEntries& entries = plan.entries;
  RunReading reading;
  if (folder != nullptr && OpensFolder(plan, run)) {
    reading = ReadRun(plan, run, *folder, unreadable);
  }
  piece.unreadable = std::move(unreadable);
  piece.endsFolder = run + 1 == plan.Runs();
  AddSitemapUrls(plan, run, reading, piece);
  WriteSectionRun(page_, format_.settings, entries, plan.runStarts[run],
                  plan.runStarts[run + 1], reading.details, piece.html);
  return piece;
}

// Reads what the page shows of a run's files: the titles of its pages,
// and the sizes and times of all, from the pages as they are opened for
// their titles, or else asked of the folder.
SectionMaker::RunReading SectionMaker::ReadRun(
    SectionPlan& plan, std::size_t run, FolderHandle& folder,
    std::vector<Failure>& unreadable) const {
  const std::size_t from = plan.runStarts[run];
  const std::size_t count = plan.runStarts[run + 1] - from;
  RunReading reading;
  if (heads_.title) reading.details.titles.resize(count);
  if (heads_.robots) {
    reading.noindex.resize(count);
    reading.canonical.resize(count);
  }
  if (facts_) reading.details.facts.resize(count);
  if (sitemap_.dates != nullptr) reading.committed.resize(count);
  reading.outside.resize(count);
  std::optional<FileFacts> unwanted;
  const std::string_view within =
      RelativeFolder(plan.entries.path, format_.base);
  // Git knows the files by their paths from the base folder.
  std::vector<std::string> gitPaths;
  if (sitemap_.dates != nullptr) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::string_view name = plan.entries.files[from + i];
      gitPaths.push_back(within.empty() ? std::string(name)
                                        : JoinPath(within, name));
    }
    sitemap_.dates->Prefetch(gitPaths);
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::string name(plan.entries.files[from + i]);
    std::optional<FileFacts>& facts =
        facts_ ? reading.details.facts[i] : unwanted;
    // Git dates a file by comparing its facts with what git kept of it.
    const bool wantsFacts = facts_ || sitemap_.dates != nullptr;
    const std::size_t failed = unreadable.size();
    const bool readsPage = readsPages_ && plan.entries.webPages[from + i];
    if (readsPage) {
      const PageHead head = ReadHead(plan, folder, name, facts, unreadable);
      if (heads_.title) reading.details.titles[i] = Trim(head.title, " ");
      if (heads_.robots) {
        reading.noindex[i] = head.noindex;
        reading.canonical[i] = head.canonical;
      }
    }
    // A page that could not be read is reported once. A link of which
    // nothing is read is still looked at, to tell of one leading outside.
    const bool link = plan.entries.files.Marked(from + i);
    if ((wantsFacts || (link && within_ != nullptr && !readsPage)) && !facts &&
        unreadable.size() == failed) {
      auto asked = folder.Facts(name, within_);
      if (asked) {
        if (facts_) facts = *asked;
      } else if (wantsFacts || asked.failure().reason == kLeadsOutsideReason) {
        unreadable.push_back(std::move(asked).failure());
      }
    }
    if (sitemap_.dates != nullptr && facts) {
      reading.committed[i] = sitemap_.dates->Find(gitPaths[i], *facts, link);
    }
    reading.outside[i] = unreadable.size() > failed &&
                         unreadable.back().reason == kLeadsOutsideReason;
  }
  return reading;
}

// Reads a page's head once, where names in the folder lead to one page
// (hard links), and the page's size and time as it was opened.
PageHead SectionMaker::ReadHead(SectionPlan& plan, FolderHandle& folder,
                                const std::string& name,
                                std::optional<FileFacts>& facts,
                                std::vector<Failure>& unreadable) const {
  auto opened = folder.OpenFile(name, within_);
  if (!opened) {
    unreadable.push_back(std::move(opened).failure());
    return {};
  }
  FileReader& page = **opened;
  facts = page.Facts();
  const std::optional<FileId> shared =
      page.HasOtherNames() ? std::optional(page.Id()) : std::nullopt;
  if (shared) {
    if (auto known = plan.SharedHead(*shared)) return std::move(*known);
  }
  auto head = ReadPageHead(page, heads_, observer_);
  if (!head) {
    unreadable.push_back(std::move(head).failure());
    return {};
  }
  if (shared) plan.KeepSharedHead(*shared, *head);
  return std::move(*head);
}

// The sitemap lists every file the page lists, but the pages that ask not
// to be indexed, or name another address as their own.
void SectionMaker::AddSitemapUrls(const SectionPlan& plan, std::size_t run,
                                  const RunReading& reading,
                                  PagePiece& piece) const {
  if (sitemap_.urlStart.empty()) return;
  const FolderEntries& entries = plan.entries;
  // Encoding goes byte by byte, so the folder's part of the addresses is
  // encoded once for the run and only the names for each URL.
  std::string urlStart = sitemap_.urlStart;
  const std::string_view folder = RelativeFolder(entries.path, format_.base);
  AppendPercentEncodedPath(urlStart, folder);
  if (!folder.empty()) urlStart += '/';
  const std::size_t from = plan.runStarts[run];
  // Room for the run's URLs with names of average length, so that the
  // text grows seldom.
  constexpr std::size_t kUrlMarkup = 64;
  piece.sitemapUrls.reserve((plan.runStarts[run + 1] - from) *
                            (urlStart.size() + 16 + kUrlMarkup));
  for (std::size_t i = from; i < plan.runStarts[run + 1]; ++i) {
    const std::size_t read = i - from;
    if (!reading.noindex.empty() && reading.noindex[read]) continue;
    if (!reading.outside.empty() && reading.outside[read]) continue;
    const std::size_t before = piece.sitemapUrls.size();
    // A file that git dates takes its last commit's time; where the
    // history has yet to give it, the URL waits for it in the sitemap.
    std::optional<std::time_t> date = OwnDate(reading, read);
    std::optional<GitDates::Committed> undated;
    if (!reading.committed.empty() && reading.committed[read]) {
      const auto committed = sitemap_.dates->DateOf(*reading.committed[read],
                                                    /*wait=*/false);
      if (committed) {
        date = committed;
      } else {
        undated = reading.committed[read];
      }
    }
    AppendSitemapUrl(piece.sitemapUrls, urlStart, entries.files[i],
                     undated ? std::nullopt : date);
    const std::optional<std::string>& canonical =
        reading.canonical.empty() ? std::nullopt : reading.canonical[read];
    if (canonical) {
      const std::string_view line =
          std::string_view(piece.sitemapUrls).substr(before);
      switch (CompareCanonical(*canonical, SitemapLineUrl(line))) {
        case CanonicalMatch::kElsewhere:
          piece.sitemapUrls.resize(before);
          continue;
        case CanonicalMatch::kOtherScheme:
          ++piece.otherSchemeCanonicals;
          break;
        case CanonicalMatch::kSame:
          break;
      }
    }
    if (undated) {
      piece.undatedUrls.push_back({piece.sitemapUrlCount, *undated, date});
    }
    ++piece.sitemapUrlCount;
  }
}

// A file's own time, when it was found.
std::optional<std::time_t> SectionMaker::OwnDate(const RunReading& reading,
                                                 std::size_t read) {
  if (reading.details.facts.empty() || !reading.details.facts[read]) {
    return std::nullopt;
  }
  return reading.details.facts[read]->modified;
}

}  // namespace mapgen
