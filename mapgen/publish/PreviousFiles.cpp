#include "PreviousFiles.h"

#include <cerrno>

#include "Gzip.h"
#include "Paths.h"
#include "SitemapWriter.h"

namespace mapgen {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// How far into a file its root element is looked for.
constexpr std::size_t kRootSearchBytes = 64 * 1024;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded +=
          static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// Whether `name` is the name of one of the parts of `fileName`.
bool IsPartName(std::string_view name, std::string_view fileName) {
  const std::string zeroth = SitemapPartName(fileName, 0);
  const std::size_t number = zeroth.rfind("-0") + 1;
  const std::string_view before = std::string_view(zeroth).substr(0, number);
  const std::string_view after = std::string_view(zeroth).substr(number + 1);
  if (name.size() <= before.size() + after.size() ||
      !name.starts_with(before) || !name.ends_with(after)) {
    return false;
  }
  const std::string_view digits =
      name.substr(before.size(), name.size() - before.size() - after.size());
  return digits.front() != '0' &&
         digits.find_first_not_of("0123456789") == std::string_view::npos;
}

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

std::unique_ptr<FileReader> OpenPreviousFile(const FileSystem& fs,
                                             const std::string& path,
                                             Failure& failure) {
  const std::unique_ptr<OutputFolder> folder =
      fs.OpenOutputFolder(ParentFolder(path), failure);
  OutputEntry entry;
  if (folder == nullptr ||
      !folder->Inspect(std::string(LastName(path)), false, entry, failure) ||
      entry.kind != OutputEntry::Kind::kFile) {
    return nullptr;
  }
  std::unique_ptr<FileReader> file = fs.OpenFile(path, failure);
  // A link put in its place since is not read through.
  if (file != nullptr && file->Id() != entry.id) {
    failure = {path, kReplacedReason};
    return nullptr;
  }
  return file;
}

bool ReadPreviousRobotsTxt(const FileSystem& fs, const std::string& path,
                           std::string& text, Failure& failure,
                           std::size_t limit) {
  text.clear();
  failure = {};
  const std::unique_ptr<FileReader> file = OpenPreviousFile(fs, path, failure);
  if (file == nullptr) return failure.reason.empty();
  char buffer[kReadSize];
  while (true) {
    const long got = file->Read(buffer, sizeof buffer, failure);
    if (got < 0) return false;
    if (got == 0) return true;
    if (text.size() + static_cast<std::size_t>(got) > limit) {
      failure = SystemFailure(path, EFBIG);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

std::vector<std::string> PartsNamedByIndex(std::string_view xml,
                                           std::string_view fileName) {
  std::vector<std::string> parts;
  for (std::size_t at = xml.find("<loc>"); at != std::string_view::npos;
       at = xml.find("<loc>", at + 1)) {
    const std::size_t start = at + 5;
    const std::size_t end = xml.find("</loc>", start);
    if (end == std::string_view::npos) break;
    std::string url = UnescapedUrl(xml.substr(start, end - start));
    url.erase(0, url.find_first_not_of(" \t\r\n"));
    url.erase(url.find_last_not_of(" \t\r\n") + 1);
    const std::string name = PercentDecoded(LastName(url));
    if (IsPartName(name, fileName)) parts.push_back(name);
  }
  return parts;
}

std::vector<std::string> PreviousParts(const FileSystem& fs,
                                       const std::string& path) {
  Failure failure;
  const std::unique_ptr<FileReader> file = OpenPreviousFile(fs, path, failure);
  if (file == nullptr) return {};
  IndexScan scan(LastName(path));
  std::optional<Gunzip> gunzip;
  bool more = true;
  char buffer[kReadSize];
  for (bool first = true; more; first = false) {
    const long got = file->Read(buffer, sizeof buffer, failure);
    if (got <= 0) break;
    const std::string_view bytes(buffer, static_cast<std::size_t>(got));
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
