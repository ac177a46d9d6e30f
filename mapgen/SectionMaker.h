#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "BuildObserver.h"
#include "FileSystem.h"
#include "FolderEntries.h"
#include "GetSubDirectories.h"
#include "MapSettings.h"
#include "Mutex.h"
#include "PageFormat.h"
#include "PageHead.h"
#include "PageTemplate.h"
#include "SitemapOutputs.h"
#include "SkipRules.h"

namespace mapgen {

// A piece of the page, prepared ahead of the writer: part of one folder's
// section, the XML sitemap's <url> elements of its files, what it adds to
// the counts, and what could not be read for it.
struct PagePiece {
  std::string html;
  std::string sitemapUrls;  // <url> elements, one a line
  std::size_t sitemapUrlCount = 0;
  std::vector<UndatedUrl> undatedUrls;  // in line order
  // Listed pages whose canonical link differs from their URL only in http
  // against https.
  std::size_t otherSchemeCanonicals = 0;
  std::size_t files = 0, webPages = 0;
  std::vector<Failure> unreadable;
  bool endsFolder = false;

  std::size_t Bytes() const;
};

struct FileIdHash {
  std::size_t operator()(const FileId& id) const {
    return std::hash<std::uint64_t>()(id.inode * 31 + id.device);
  }
};

// What the later pieces of a folder's section need: its entries, split in
// runs small enough to be held ahead of the writer whatever the titles'
// length, and what was read of pages that have several names there.
// The runs of a folder are made on any threads at once.
class SectionPlan {
 public:
  FolderEntries entries;
  FileId id;
  std::vector<std::size_t> runStarts;  // with the entries' count last

  std::size_t Runs() const { return runStarts.size() - 1; }

  // Whether this is the first run to find that the folder cannot be opened
  // again.
  bool FirstToFailReopening() EXCLUDES(mutex_);

  // The head kept of the page `id`, which has several names here.
  std::optional<PageHead> SharedHead(FileId id) EXCLUDES(mutex_);
  void KeepSharedHead(FileId id, const PageHead& head) EXCLUDES(mutex_);

 private:
  Mutex mutex_;
  std::unordered_map<FileId, PageHead, FileIdHash> sharedHeads_
      GUARDED_BY(mutex_);
  std::size_t sharedBytes_ GUARDED_BY(mutex_) = 0;
  bool reopenFailed_ GUARDED_BY(mutex_) = false;
};

// Prepares the folders' sections piece by piece, in `page`'s layout, with
// the files that `rules` list, and the XML sitemap's URLs of those files
// when `sitemap` says where they start: but the pages that ask not to be
// indexed or name another address as their own; any number of threads may
// use it at once. Links are followed only to files `within`,
// when it is given: of one that leads elsewhere nothing is read, it is
// left out of the sitemap and reported as unreadable with
// kLeadsOutsideReason. A piece fails when the machine runs short.
class SectionMaker {
 public:
  SectionMaker(const FileSystem& fs, const PageFormat& format,
               const PageTemplate& page, const SkipRules& rules,
               const BuildObserver& observer, SitemapReading sitemap,
               const ReadBoundary* within);

  // Lists `folder`, from the folder opened again and found to be the same,
  // and prepares its section's first piece; `plan` keeps what the further
  // pieces need, or stays null when the first is the whole section.
  Outcome<PagePiece> First(const Folder& folder,
                           std::shared_ptr<SectionPlan>& plan) const;

  // The piece of run `run`, from 1 on.
  Outcome<PagePiece> Next(SectionPlan& plan, std::size_t run) const;

 private:
  // What was read of one run's files.
  struct RunReading {
    FileDetails details;
    std::vector<bool> noindex;
    std::vector<std::optional<std::string>> canonical;
    std::vector<std::optional<GitDates::Committed>> committed;  // git dates
    std::vector<bool> outside;  // links that lead out of the base folder
  };

  bool OpensFolder(const SectionPlan& plan, std::size_t run) const;
  PagePiece Piece(SectionPlan& plan, std::size_t run, FolderHandle* folder,
                  std::vector<Failure> unreadable) const;
  RunReading ReadRun(SectionPlan& plan, std::size_t run, FolderHandle& folder,
                     std::vector<Failure>& unreadable) const;
  PageHead ReadHead(SectionPlan& plan, FolderHandle& folder,
                    const std::string& name, std::optional<FileFacts>& facts,
                    std::vector<Failure>& unreadable) const;
  void AddSitemapUrls(const SectionPlan& plan, std::size_t run,
                      const RunReading& reading, PagePiece& piece) const;
  static std::optional<std::time_t> OwnDate(const RunReading& reading,
                                            std::size_t read);

  const FileSystem& fs_;
  const PageFormat& format_;
  const PageTemplate& page_;
  const SkipRules& rules_;
  const BuildObserver& observer_;
  const SitemapReading sitemap_;
  const ReadBoundary* const within_;
  const HeadReading heads_;
  const bool readsPages_;  // for titles or for robots
  const bool facts_;       // for the page or the sitemap
};

}  // namespace mapgen
