#pragma once

#include <cstddef>
#include <ctime>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BuildObserver.h"
#include "FileSystem.h"
#include "GitDatesAhead.h"
#include "Gzip.h"
#include "MapSettings.h"
#include "OutputSet.h"
#include "SitemapWriter.h"
#include "StagedSitemap.h"

namespace mapgen {

class SitemapInSet;
struct PagePiece;
struct PagePlacement;

// What the section maker needs to make a build's sitemap URLs: where they
// start (see SitemapUrlStart; empty for no sitemap), and the files' dates
// from version control, when the settings ask for them.
struct SitemapReading {
  std::string urlStart;
  const GitDates* dates = nullptr;
};

// A URL whose date the history of a git work tree had yet to give when it
// was made: its line among those of its piece, made without a <lastmod>,
// its file, and the file's own time, should the history not date it.
struct UndatedUrl {
  std::size_t line;
  GitDates::Committed file;
  std::optional<std::time_t> own;
};

// The XML sitemap of one build and the robots file that announces it, when
// the settings ask for them. Their files go to the caller's staging, or
// are outputs of the build's set, added after the page: the sitemap, then
// the robots file, which so takes its place only once the sitemap has.
class SitemapOutputs {
 public:
  // Adds the outputs to `set`.
  SitemapOutputs(const MapSettings& settings, const PagePlacement& placement,
                 const std::string& base, const std::string& pageFolder,
                 OutputSet& set, BuildObserver& observer);
  ~SitemapOutputs();
  SitemapOutputs(const SitemapOutputs&) = delete;
  SitemapOutputs& operator=(const SitemapOutputs&) = delete;

  bool Wanted() const { return !target_.path.empty(); }

  // Starts reading the files' dates from git, when the settings ask for
  // them, while the build walks the tree; once the outputs are checked,
  // so that a wrong output waits for no git run.
  void ReadDatesAhead();

  // Waits for the files' dates, when they are wanted, and reads what the
  // sitemap being replaced names. Fails when git cannot date the files.
  Outcome<void> Prepare(const FileSystem& fs);
  SitemapReading Reading() const;

  // Waits for git to read the history that dates the files, when it does;
  // fails when it could not.
  Outcome<void> HistoryRead();

  // Opens the sitemap's writer, once the set is checked.
  Outcome<void> Start(const FileSystem& fs);

  // Adds the URLs of a piece of the page, in page order. Those that wait
  // for the history to date them are kept meanwhile, in a bounded room
  // past which this waits for it.
  void Add(PagePiece& piece);

  // Ends the sitemap's files and writes the robots file: the URLs listed.
  // Fails when there is none, since there is no empty sitemap.
  Outcome<std::size_t> Finish(const FileSystem& fs);

  // Once the set is in place: removes the pieces that the replaced index
  // named and that the new sitemap no longer has.
  void RemoveStalePieces(OutputSet& set);

 private:
  void AddDatedUrls(bool wait);
  void WarnOfLeftOutUrls() const;
  Outcome<void> WriteRobotsTxt(const FileSystem& fs);

  const OutputTarget target_;
  const std::string siteUrl_;
  const std::string base_;
  const bool gitDates_;  // the dates from git, not the files' own
  const std::string servedPath_;
  StagedSitemap* const staged_;
  const SitemapLimits limits_;
  OutputSet& set_;
  BuildObserver& observer_;
  std::optional<std::size_t> output_;
  std::optional<OutputTarget> robots_;
  std::optional<std::size_t> robotsOutput_;
  std::unique_ptr<GitDatesAhead> datesAhead_;
  const GitDates* dates_ = nullptr;
  // Pieces' URLs kept for their dates, in page order: each piece's lines
  // and those among them to be dated.
  std::deque<std::pair<std::string, std::vector<UndatedUrl>>> waiting_;
  std::size_t waitingBytes_ = 0;
  std::vector<std::string> previousPieces_;
  std::unique_ptr<SitemapInSet> inSet_;
  std::optional<GzipSitemapSink> gzip_;
  std::optional<SitemapWriter> writer_;
  std::size_t otherSchemeCanonicals_ = 0;
};

}  // namespace mapgen
