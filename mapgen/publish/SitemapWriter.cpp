#include "SitemapWriter.h"

#include <algorithm>

#include "Escaping.h"
#include "SizeAndTime.h"

namespace mapgen {
namespace {

constexpr std::string_view kDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view kNamespace =
    " xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n";
constexpr std::string_view kUrlSetEnd = "</urlset>\n";

// `urlStart` as SitemapUrlStart gives it, escaped already.
void AppendLocation(std::string& out, std::string_view urlStart,
                    std::string_view path) {
  out += "<loc>";
  out += urlStart;
  AppendPercentEncodedPath(out, path);
  out += "</loc>";
}

}  // namespace

std::string SitemapPartName(std::string_view fileName, std::size_t number) {
  std::size_t dot = fileName.rfind('.');
  // A name that only begins with a dot has no extension.
  if (dot == 0 || dot == std::string_view::npos) dot = fileName.size();
  return std::string(fileName.substr(0, dot)) + "-" + std::to_string(number) +
         std::string(fileName.substr(dot));
}

std::string SitemapUrlStart(std::string_view siteUrl) {
  std::string start;
  AppendEscapedText(start, siteUrl);
  if (!start.ends_with('/')) start += '/';
  return start;
}

void AppendSitemapUrl(std::string& url, std::string_view urlStart,
                      std::string_view path,
                      std::optional<std::time_t> modified) {
  url += "<url>";
  AppendLocation(url, urlStart, path);
  if (modified) {
    const std::size_t before = url.size();
    url += "<lastmod>";
    if (AppendUtcTimestamp(url, *modified)) {
      url += "</lastmod>";
    } else {
      url.resize(before);
    }
  }
  url += "</url>\n";
}

SitemapWriter::SitemapWriter(std::string_view siteUrl,
                             std::string_view fileName, SitemapSink& sink,
                             SitemapLimits limits)
    : siteUrl_(SitemapUrlStart(siteUrl)),
      fileName_(fileName),
      sink_(sink),
      limits_(limits) {}

void SitemapWriter::AddUrl(std::string_view url) {
  // A file holds at least one URL, however small the limits.
  const bool full =
      urlsInFile_ >= limits_.urls ||
      bytesInFile_ + url.size() + kUrlSetEnd.size() > limits_.bytes;
  if (inFile_ && urlsInFile_ > 0 && full) {
    EndUrlSet(SitemapPartName(fileName_, ++partsDone_));
  }
  if (!inFile_) BeginUrlSet();
  sink_.Write(url);
  bytesInFile_ += url.size();
  ++urlsInFile_;
  ++urlCount_;
}

void SitemapWriter::AddUrls(std::string_view urls, std::size_t count) {
  if (count == 0) return;
  if (!inFile_) BeginUrlSet();
  if (urlsInFile_ + count <= limits_.urls &&
      bytesInFile_ + urls.size() + kUrlSetEnd.size() <= limits_.bytes) {
    sink_.Write(urls);
    bytesInFile_ += urls.size();
    urlsInFile_ += count;
    urlCount_ += count;
    return;
  }
  while (!urls.empty()) {
    const std::size_t end = std::min(urls.find('\n'), urls.size() - 1) + 1;
    AddUrl(urls.substr(0, end));
    urls.remove_prefix(end);
  }
}

void SitemapWriter::Finish() {
  if (!inFile_) BeginUrlSet();
  if (partsDone_ == 0) {
    EndUrlSet(fileName_);
    return;
  }
  EndUrlSet(SitemapPartName(fileName_, ++partsDone_));
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
}

void SitemapWriter::EndUrlSet(std::string_view name) {
  sink_.Write(kUrlSetEnd);
  sink_.End(name);
  inFile_ = false;
}

void SitemapWriter::WriteIndex() {
  std::string index =
      std::string(kDeclaration) + "<sitemapindex" + std::string(kNamespace);
  for (std::size_t part = 1; part <= partsDone_; ++part) {
    index += "<sitemap>";
    AppendLocation(index, siteUrl_, SitemapPartName(fileName_, part));
    index += "</sitemap>\n";
  }
  index += "</sitemapindex>\n";
  sink_.Begin();
  sink_.Write(index);
  sink_.End(fileName_);
}

}  // namespace mapgen
