#include "SitemapOutputs.h"

#include <algorithm>
#include <cerrno>

#include "BuildMap.h"
#include "Paths.h"
#include "PreviousFiles.h"
#include "RobotsTxt.h"
#include "SectionMaker.h"

namespace mapgen {
namespace {

// Pieces of a sitemap file are gathered into writes of this size.
constexpr std::size_t kWriteSize = 64 * 1024;

// Where the settings put a file of the build's own: a path the command
// line gave as it is, one taken from the page's folder below it, never
// through a link on the way.
OutputTarget SettingsTarget(const std::string& file,
                            const std::string& pageFolder) {
  if (file.empty() || file.starts_with('/')) return file;
  return OutputTarget::Below(pageFolder, file);
}

// Where the sitemap is served below the site address; a descriptor's
// name stands for a file at the site address itself.
std::string ServedPath(const OutputTarget& target, const std::string& base) {
  if (target.descriptor) return std::string(LastName(target.path));
  return SitemapServedPath(target.path, base);
}

std::string Counted(std::size_t count, std::string_view one,
                    std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// Appends the <url> lines `lines` with the dates `dates` of those among
// them that waited for theirs, `undated`.
void AppendDatedUrls(std::string& out, std::string_view lines,
                     const std::vector<UndatedUrl>& undated,
                     const std::vector<std::optional<std::time_t>>& dates) {
  std::size_t next = 0;
  for (std::size_t line = 0; !lines.empty(); ++line) {
    const std::size_t end = lines.find('\n') + 1;
    if (next < undated.size() && undated[next].line == line) {
      AppendDatedSitemapUrl(out, lines.substr(0, end), dates[next++]);
    } else {
      out += lines.substr(0, end);
    }
    lines.remove_prefix(end);
  }
}

// Room for URLs that wait for their dates: the history is read by then,
// in most trees.
constexpr std::size_t kMostWaitingBytes = 16 << 20;

}  // namespace

// The XML sitemap's files as outputs of the build's set: each staged
// beside the sitemap's name and named when it is complete; where the
// sitemap goes to a stream or a descriptor, its one file is written to it
// as it comes.
class SitemapInSet : public SitemapSink {
 public:
  SitemapInSet(OutputSet& set, std::size_t output, std::string path)
      : set_(set),
        output_(output),
        path_(std::move(path)),
        fileName_(LastName(path_)) {}

  void Begin() override {
    if (failure_) return;
    ++files_;
    auto opened =
        !set_.IsStream(output_)
            ? set_.OpenBeside(output_,
                              {fileName_, SitemapPartName(fileName_, files_)})
        : files_ == 1 ? set_.Open(output_)
                      : Outcome<PageSink*>(Unsplittable());
    if (!opened) {
      failure_ = std::move(opened).failure();
      return;
    }
    file_ = *opened;
  }

  void Write(std::string_view chunk) override {
    // A chunk as large as a piece goes out as it is rather than through
    // the buffer.
    if (buffer_.empty() && chunk.size() >= kWriteSize / 2) {
      WriteOut(chunk);
      return;
    }
    buffer_ += chunk;
    if (buffer_.size() >= kWriteSize) Flush();
  }

  void End(std::string_view name) override {
    Flush();
    if (failure_) return;
    names_.emplace_back(name);
    if (set_.IsStream(output_)) {
      if (name != fileName_) failure_ = Unsplittable();
      return;
    }
    if (auto named = set_.Name(file_, std::string(name)); !named) {
      failure_ = std::move(named).failure();
    }
  }

  Outcome<void> Written() const {
    if (failure_) return *failure_;
    return {};
  }

  // The names the files took.
  const std::vector<std::string>& Names() const { return names_; }

 private:
  Failure Unsplittable() const {
    return Failure(path_,
                   "the sitemap must be split into pieces, which a stream "
                   "cannot take");
  }

  void Flush() {
    WriteOut(buffer_);
    buffer_.clear();
  }

  void WriteOut(std::string_view bytes) {
    if (failure_) return;
    if (auto written = file_->Write(bytes); !written) {
      failure_ = std::move(written).failure();
    }
  }

  OutputSet& set_;
  const std::size_t output_;
  const std::string path_;
  const std::string fileName_;
  std::size_t files_ = 0;
  PageSink* file_ = nullptr;  // the file that began last
  std::string buffer_;
  std::vector<std::string> names_;
  std::optional<Failure> failure_;  // the first, which ends the writing
};

SitemapOutputs::SitemapOutputs(const MapSettings& settings,
                               const PagePlacement& placement,
                               const std::string& base,
                               const std::string& pageFolder, OutputSet& set,
                               BuildObserver& observer)
    : target_(placement.sitemap
                  ? *placement.sitemap
                  : SettingsTarget(settings.txtSitemapXml, pageFolder)),
      siteUrl_(settings.txtSiteUrl),
      base_(base),
      gitDates_(settings.cmbLastmod == "git"),
      servedPath_(ServedPath(target_, base)),
      staged_(placement.stagedSitemap),
      limits_(placement.sitemapLimits),
      set_(set),
      observer_(observer) {
  if (!Wanted()) {
    if (!settings.txtRobotsTxt.empty()) {
      observer.Warning(
          "no XML sitemap is written (--sitemap-xml), so the robots file " +
          settings.txtRobotsTxt + " is left as it is");
    }
    return;
  }
  if (staged_ != nullptr) return;
  output_ = set.Add("XML sitemap", target_);
  set.AddPieces(*output_, [name = std::string(LastName(target_.path))](
                              std::string_view other) {
    return IsSitemapPartName(other, name);
  });
  robots_ = placement.robots
                ? placement.robots
                : SettingsTarget(settings.txtRobotsTxt, pageFolder);
  if (robots_->path.empty()) {
    robots_.reset();
  } else {
    robotsOutput_ = set.Add("robots file", *robots_);
  }
}

SitemapOutputs::~SitemapOutputs() = default;

void SitemapOutputs::ReadDatesAhead() {
  if (Wanted() && gitDates_) {
    datesAhead_ = std::make_unique<GitDatesAhead>(base_, observer_);
  }
}

Outcome<void> SitemapOutputs::Prepare(const FileSystem& fs) {
  if (!Wanted()) return {};
  if (datesAhead_ != nullptr) {
    const Outcome<std::unique_ptr<GitDates>>& dates = datesAhead_->Get();
    if (!dates) return dates.failure();
    dates_ = dates->get();
    if (dates_->shallow()) {
      observer_.Warning(
          "the git history is shallow: files last changed before its "
          "oldest commit are dated by that commit");
    }
  }
  if (output_ && !set_.IsStream(*output_)) {
    previousPieces_ = PreviousParts(fs, target_.path);
  }
  return {};
}

Outcome<void> SitemapOutputs::HistoryRead() {
  if (datesAhead_ == nullptr) return {};
  return datesAhead_->HistoryRead();
}

SitemapReading SitemapOutputs::Reading() const {
  if (!Wanted()) return {};
  return {SitemapUrlStart(siteUrl_), dates_};
}

Outcome<void> SitemapOutputs::Start(const FileSystem& fs) {
  if (!Wanted()) return {};
  if (robots_ && target_.descriptor) {
    return Failure(robots_->path, "the XML sitemap goes to " + target_.path +
                                      ", which has no address to name");
  }
  SitemapSink* sink = staged_;
  if (staged_ != nullptr) {
    if (auto started = staged_->Start(fs); !started) return started;
  } else {
    inSet_ = std::make_unique<SitemapInSet>(set_, *output_, target_.path);
    sink = inSet_.get();
  }
  if (IsCompressedSitemap(target_.path)) sink = &gzip_.emplace(*sink);
  writer_.emplace(siteUrl_, servedPath_, *sink, limits_);
  return {};
}

void SitemapOutputs::Add(PagePiece& piece) {
  if (!Wanted()) return;
  otherSchemeCanonicals_ += piece.otherSchemeCanonicals;
  if (waiting_.empty() && piece.undatedUrls.empty()) {
    writer_->AddUrls(piece.sitemapUrls);
    return;
  }
  waitingBytes_ += piece.sitemapUrls.size();
  waiting_.emplace_back(std::move(piece.sitemapUrls),
                        std::move(piece.undatedUrls));
  AddDatedUrls(waitingBytes_ > kMostWaitingBytes);
}

// Adds the URLs kept for their dates, in page order, as far as the
// history has dated them; with `wait`, all of them, waiting for it.
void SitemapOutputs::AddDatedUrls(bool wait) {
  std::string dated;
  while (!waiting_.empty()) {
    const auto& [lines, undated] = waiting_.front();
    std::vector<std::optional<std::time_t>> dates;
    for (const UndatedUrl& url : undated) {
      const std::optional<std::time_t> date = dates_->DateOf(url.file, wait);
      if (!date && !wait) return;
      dates.push_back(date ? date : url.own);
    }
    dated.clear();
    AppendDatedUrls(dated, lines, undated, dates);
    writer_->AddUrls(dated);
    waitingBytes_ -= lines.size();
    waiting_.pop_front();
  }
}

Outcome<std::size_t> SitemapOutputs::Finish(const FileSystem& fs) {
  if (!Wanted()) return 0;
  AddDatedUrls(true);
  writer_->Finish();
  if (writer_->urlCount() == 0) {
    return Failure(target_.path,
                   "the XML sitemap would list no URL, and a sitemap cannot "
                   "be empty");
  }
  auto written = staged_ != nullptr ? staged_->Staged() : inSet_->Written();
  if (!written) return std::move(written).failure();
  WarnOfLeftOutUrls();
  if (robots_) {
    if (auto robots = WriteRobotsTxt(fs); !robots) {
      return std::move(robots).failure();
    }
  } else if (staged_ == nullptr && writer_->urlsOutsideFolder() > 0) {
    observer_.Warning(
        Counted(writer_->urlsOutsideFolder(), "URL", "URLs") +
        " of the XML sitemap lie outside its own folder, which search "
        "engines accept only from a sitemap that robots.txt names "
        "(--robots-txt)");
  }
  return writer_->urlCount();
}

void SitemapOutputs::WarnOfLeftOutUrls() const {
  const LeftOutUrls& left = writer_->leftOut();
  if (left.count > 0) {
    observer_.Warning(Counted(left.count, "URL", "URLs") +
                      " left out of the XML sitemap, of a length search "
                      "engines refuse (12 to 2,047 characters): " +
                      left.first);
  }
  if (otherSchemeCanonicals_ > 0) {
    observer_.Warning("the canonical link of " +
                      Counted(otherSchemeCanonicals_, "page", "pages") +
                      " differs from its URL only in http against https: "
                      "the site URL (--site-url) may want the other scheme");
  }
}

// Makes sure the robots file names the sitemap, keeping every other byte
// of it; one that names it already is left as it is.
Outcome<void> SitemapOutputs::WriteRobotsTxt(const FileSystem& fs) {
  if (IsBelowHostRoot(siteUrl_)) {
    observer_.Warning(
        "crawlers read robots.txt only at a host's root, and "
        "the site URL " +
        siteUrl_ + " lies below it");
  }
  const std::string url = SitemapAddress(siteUrl_, servedPath_);
  auto text =
      robots_->descriptor
          ? Outcome<std::optional<std::string>>(RobotsTxtWithSitemap("", url))
          : RobotsTxtNaming(fs, robots_->path, url);
  if (!text) return std::move(text).failure();
  if (!*text) return {};
  auto file = set_.Open(*robotsOutput_);
  if (!file) return std::move(file).failure();
  return (*file)->Write(**text);
}

void SitemapOutputs::RemoveStalePieces(OutputSet& set) {
  if (inSet_ == nullptr) return;
  const std::vector<std::string>& written = inSet_->Names();
  for (const std::string& piece : previousPieces_) {
    if (std::ranges::find(written, piece) != written.end()) continue;
    auto removed = set.RemoveBeside(*output_, piece);
    if (!removed && !IsSystemError(removed.failure(), ENOENT)) {
      observer_.Warning("cannot remove the old sitemap piece " +
                        removed.failure().path + ": " +
                        removed.failure().reason);
    }
  }
}

}  // namespace mapgen
