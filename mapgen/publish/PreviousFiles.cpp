#include "PreviousFiles.h"

#include <algorithm>
#include <cerrno>

#include "Ascii.h"
#include "Escaping.h"
#include "Gzip.h"
#include "Paths.h"
#include "RobotsTxt.h"
#include "SitemapWriter.h"

namespace mapgen {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// How far into a file its root element is looked for.
constexpr std::size_t kRootSearchBytes = 64 * 1024;

// Reads an index's text as it comes, keeping only what the next <loc>
// may need.
class IndexScan {
 public:
  explicit IndexScan(std::string_view fileName) : fileName_(fileName) {}

  // Takes the next text; false once it is known to be no index.
  bool Take(std::string_view text) {
    text_ += text;
    if (!isIndex_) {
      const std::size_t index = text_.find("<sitemapindex");
      const std::size_t urlSet = text_.find("<urlset");
      if (urlSet < index) return false;
      if (index == std::string::npos) return text_.size() < kRootSearchBytes;
      isIndex_ = true;
    }
    const std::size_t done = text_.rfind("</loc>");
    if (done == std::string::npos) return true;
    for (std::string& name : PartsNamedByIndex(
             std::string_view(text_).substr(0, done + 6), fileName_)) {
      parts_.push_back(std::move(name));
    }
    text_.erase(0, done + 6);
    return true;
  }

  std::vector<std::string> Parts() {
    return isIndex_ ? std::move(parts_) : std::vector<std::string>();
  }

 private:
  std::string fileName_;
  std::string text_;
  bool isIndex_ = false;
  std::vector<std::string> parts_;
};

}  // namespace

Outcome<std::unique_ptr<FileReader>> OpenPreviousFile(const FileSystem& fs,
                                                      const std::string& path) {
  auto folder = fs.OpenOutputFolder(ParentFolder(path));
  if (!folder) return std::move(folder).failure();
  const auto entry = (*folder)->Inspect(std::string(LastName(path)), false);
  if (!entry) return entry.failure();
  if (entry->kind != OutputEntry::Kind::kFile) {
    return std::unique_ptr<FileReader>();
  }
  auto file = fs.OpenFile(path);
  // A link put in its place since is not read through.
  if (file && (*file)->Id() != entry->id) {
    return Failure{path, kReplacedReason};
  }
  return file;
}

Outcome<std::string> ReadPreviousRobotsTxt(const FileSystem& fs,
                                           const std::string& path,
                                           std::size_t limit) {
  auto file = OpenPreviousFile(fs, path);
  if (!file) return std::move(file).failure();
  std::string text;
  if (*file == nullptr) return text;
  char buffer[kReadSize];
  while (true) {
    const auto got = (*file)->Read(buffer, sizeof buffer);
    if (!got) return got.failure();
    if (*got == 0) return text;
    if (text.size() + *got > limit) return SystemFailure(path, EFBIG);
    text.append(buffer, *got);
  }
}

Outcome<std::optional<std::string>> RobotsTxtNaming(const FileSystem& fs,
                                                    const std::string& path,
                                                    std::string_view url) {
  auto existing = ReadPreviousRobotsTxt(fs, path);
  if (!existing) return std::move(existing).failure();
  return RobotsTxtWithSitemap(*existing, url);
}

std::vector<std::string> PartsNamedByIndex(std::string_view xml,
                                           std::string_view fileName) {
  std::vector<std::string> parts;
  for (std::size_t at = xml.find("<loc>"); at != std::string_view::npos;
       at = xml.find("<loc>", at + 1)) {
    const std::size_t start = at + 5;
    const std::size_t end = xml.find("</loc>", start);
    if (end == std::string_view::npos) break;
    const std::string url = UnescapedUrl(xml.substr(start, end - start));
    // XML's own blanks.
    const std::string name = PercentDecoded(LastName(Trim(url, " \t\r\n")));
    if (IsSitemapPartName(name, fileName)) parts.push_back(name);
  }
  return parts;
}

std::vector<std::string> PreviousParts(const FileSystem& fs,
                                       const std::string& path) {
  const auto file = OpenPreviousFile(fs, path);
  if (!file || *file == nullptr) return {};
  IndexScan scan(LastName(path));
  std::optional<Gunzip> gunzip;
  bool more = true;
  char buffer[kReadSize];
  for (bool first = true; more; first = false) {
    const auto got = (**file).Read(buffer, sizeof buffer);
    if (!got || *got == 0) break;
    const std::string_view bytes(buffer, *got);
    if (first && Gunzip::Begins(bytes)) gunzip.emplace();
    if (!gunzip) {
      more = scan.Take(bytes);
    } else if (!gunzip->Feed(bytes, [&](std::string_view text) {
                 return more = scan.Take(text);
               })) {
      return {};
    }
  }
  return scan.Parts();
}

}  // namespace mapgen
