#include "SitemapWriter.h"

#include <algorithm>

#include "Ascii.h"
#include "Escaping.h"
#include "Paths.h"
#include "SizeAndTime.h"

namespace mapgen {
namespace {

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view kNamespace =
    " xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
constexpr std::string_view kUrlSetEnd = "</urlset>\n";
constexpr std::string_view kCompressed = ".gz";

// A <url> line as AppendSitemapUrl lays it out.
constexpr std::string_view kUrlStart = "<url><loc>";
constexpr std::string_view kDatedUrlEnd = "</lastmod></url>\n";
constexpr std::size_t kTimestampLength = 20;  // "YYYY-MM-DDThh:mm:ssZ"

// What the writer needs of a line: its <loc> text, escaped, and its
// <lastmod> text, empty when it has none.
struct UrlLine {
  std::string_view loc;
  std::string_view lastmod;
};

UrlLine ReadUrlLine(std::string_view line) {
  UrlLine url;
  // Escaped, an address holds no "<" before its end tag.
  const std::size_t locEnd =
      std::min(line.find('<', kUrlStart.size()), line.size());
  url.loc = line.substr(kUrlStart.size(), locEnd - kUrlStart.size());
  if (line.ends_with(kDatedUrlEnd)) {
    url.lastmod = line.substr(
        line.size() - kDatedUrlEnd.size() - kTimestampLength, kTimestampLength);
  }
  return url;
}

// The length of escaped XML text as its reader counts it: a reference
// such as "&amp;" is one character, and so is each UTF-8 sequence.
std::size_t CharacterCount(std::string_view xml) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < xml.size(); ++i) {
    if (xml[i] == '&') i = std::min(xml.find(';', i), xml.size());
    if ((static_cast<unsigned char>(xml[i]) & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool FitsSitemap(std::string_view loc) {
  const std::size_t length = CharacterCount(loc);
  return length >= kShortestSitemapUrl && length <= kLongestSitemapUrl;
}

// Appends <lastmod> for a part whose newest URL is dated `newest`.
void AppendLastmod(std::string& out, std::string_view newest) {
  if (newest.empty()) return;
  out += "<lastmod>";
  out += newest;
  out += "</lastmod>";
}

constexpr std::string_view kUrlEnd = "</url>\n";

// Ends a <url> line after its <loc>, with its <lastmod> when the time is
// known and can be written.
void EndSitemapUrl(std::string& url, std::optional<std::time_t> modified) {
  if (modified) {
    const std::size_t before = url.size();
    url += "<lastmod>";
    if (AppendUtcTimestamp(url, *modified)) {
      url += "</lastmod>";
    } else {
      url.resize(before);
    }
  }
  url += kUrlEnd;
}

}  // namespace

bool IsCompressedSitemap(std::string_view name) {
  return name.ends_with(kCompressed);
}

std::string SitemapPartName(std::string_view fileName, std::size_t number) {
  std::string_view stem = fileName;
  std::string_view suffix;
  if (IsCompressedSitemap(fileName) && fileName.size() > kCompressed.size()) {
    stem.remove_suffix(kCompressed.size());
    suffix = kCompressed;
  }
  std::size_t dot = stem.rfind('.');
  // A name that only begins with a dot has no extension.
  if (dot == 0 || dot == std::string_view::npos) dot = stem.size();
  return std::string(stem.substr(0, dot)) + "-" + std::to_string(number) +
         std::string(stem.substr(dot)) + std::string(suffix);
}

bool IsSitemapPartName(std::string_view name, std::string_view fileName) {
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
         std::all_of(digits.begin(), digits.end(), IsAsciiDigit);
}

std::string SitemapUrlStart(std::string_view siteUrl) {
  std::string start;
  AppendEncodedAddress(start, siteUrl);
  if (!start.ends_with('/')) start += '/';
  return start;
}

std::string SitemapServedPath(const std::string& path,
                              const std::string& base) {
  const std::string name(LastName(path));
  const auto file = NormalAbsolutePath(path);
  const auto folder = NormalAbsolutePath(base);
  if (!file || !folder) return name;
  const std::string prefix = IsRoot(*folder) ? *folder : *folder + "/";
  return file->starts_with(prefix) ? file->substr(prefix.size()) : name;
}

std::string SitemapAddress(std::string_view siteUrl,
                           std::string_view servedPath) {
  std::string url = SitemapUrlStart(siteUrl);
  AppendPercentEncodedPath(url, servedPath);
  return UnescapedUrl(url);
}

std::string UnescapedUrl(std::string_view xml) {
  static constexpr std::pair<std::string_view, char> kReferences[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
  std::string plain;
  plain.reserve(xml.size());
  for (std::size_t i = 0; i < xml.size(); ++i) {
    const auto* known = std::ranges::find_if(kReferences, [&](const auto& ref) {
      return xml.substr(i).starts_with(ref.first);
    });
    if (xml[i] != '&' || known == std::end(kReferences)) {
      plain += xml[i];
      continue;
    }
    plain += known->second;
    i += known->first.size() - 1;
  }
  return plain;
}

void AppendSitemapUrl(std::string& url, std::string_view urlStart,
                      std::string_view path,
                      std::optional<std::time_t> modified) {
  const std::string_view name = LastName(path);
  if (name == "index.html" || name == "index.htm") {
    path.remove_suffix(name.size());
  }
  url += kUrlStart;
  url += urlStart;
  AppendPercentEncodedPath(url, path);
  url += "</loc>";
  EndSitemapUrl(url, modified);
}

void AppendDatedSitemapUrl(std::string& out, std::string_view line,
                           std::optional<std::time_t> modified) {
  line.remove_suffix(kUrlEnd.size());
  out += line;
  EndSitemapUrl(out, modified);
}

std::string SitemapLineUrl(std::string_view line) {
  return UnescapedUrl(ReadUrlLine(line).loc);
}

SitemapWriter::SitemapWriter(std::string_view siteUrl,
                             std::string_view servedPath, SitemapSink& sink,
                             SitemapLimits limits)
    : folderUrl_(SitemapUrlStart(siteUrl)),
      fileName_(LastName(servedPath)),
      sink_(sink),
      limits_(limits) {
  const std::string_view folder =
      servedPath.substr(0, servedPath.size() - fileName_.size());
  AppendPercentEncodedPath(folderUrl_, folder);
}

std::string SitemapWriter::Url() const {
  std::string url = folderUrl_;
  AppendPercentEncodedPath(url, fileName_);
  return url;
}

void SitemapWriter::AddUrls(std::string_view urls) {
  // Lines that go to the same file are written together.
  std::string_view pending;
  while (!urls.empty()) {
    const std::size_t end = std::min(urls.find('\n'), urls.size() - 1) + 1;
    Take(urls.substr(0, end), pending);
    urls.remove_prefix(end);
  }
  Flush(pending);
}

// Takes one line into the file being written, or into a new part when it
// would outgrow the limits. `pending` holds the lines taken but not yet
// written, which run on up to `line`.
void SitemapWriter::Take(std::string_view line, std::string_view& pending) {
  const UrlLine url = ReadUrlLine(line);
  if (!FitsSitemap(url.loc)) {
    if (leftOut_.count++ == 0) leftOut_.first = UnescapedUrl(url.loc);
    Flush(pending);
    return;
  }
  const bool full =
      urlsInFile_ >= limits_.urls ||
      bytesInFile_ + line.size() + kUrlSetEnd.size() > limits_.bytes;
  // A file holds at least one URL, however small the limits.
  if (inFile_ && urlsInFile_ > 0 && full) {
    Flush(pending);
    EndPart();
  }
  if (!inFile_) BeginUrlSet();
  pending = {pending.empty() ? line.data() : pending.data(),
             pending.size() + line.size()};
  bytesInFile_ += line.size();
  ++urlsInFile_;
  ++urlCount_;
  if (url.lastmod > newestInFile_) newestInFile_ = url.lastmod;
  if (!url.loc.starts_with(folderUrl_)) ++outsideFolder_;
}

void SitemapWriter::Flush(std::string_view& pending) {
  if (!pending.empty()) sink_.Write(pending);
  pending = {};
}

void SitemapWriter::EndPart() {
  EndUrlSet(SitemapPartName(fileName_, partsNewest_.size() + 1));
  partsNewest_.push_back(std::move(newestInFile_));
}

void SitemapWriter::Finish() {
  if (!inFile_) return;
  if (partsNewest_.empty()) {
    EndUrlSet(fileName_);
    return;
  }
  EndPart();
  WriteIndex();
}

void SitemapWriter::BeginUrlSet() {
  sink_.Begin();
  const std::string start =
      std::string(kDeclaration) + "<urlset" + std::string(kNamespace);
  sink_.Write(start);
  inFile_ = true;
  urlsInFile_ = 0;
  bytesInFile_ = start.size();
  newestInFile_.clear();
}

void SitemapWriter::EndUrlSet(std::string_view name) {
  sink_.Write(kUrlSetEnd);
  sink_.End(name);
  inFile_ = false;
}

void SitemapWriter::WriteIndex() {
  std::string index =
      std::string(kDeclaration) + "<sitemapindex" + std::string(kNamespace);
  for (std::size_t part = 1; part <= partsNewest_.size(); ++part) {
    index += "<sitemap><loc>";
    index += folderUrl_;
    AppendPercentEncodedPath(index, SitemapPartName(fileName_, part));
    index += "</loc>";
    AppendLastmod(index, partsNewest_[part - 1]);
    index += "</sitemap>\n";
  }
  index += "</sitemapindex>\n";
  sink_.Begin();
  sink_.Write(index);
  sink_.End(fileName_);
}

}  // namespace mapgen
