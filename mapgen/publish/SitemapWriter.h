#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace mapgen {

// Receives the files of an XML sitemap one after another, as they are
// written. Whether the URLs fit in one file is known only once they are
// all in, so each file is named when it ends. A sink that cannot write
// keeps the failure to report it after Finish.
class SitemapSink {
 public:
  virtual ~SitemapSink() = default;
  // A new file begins.
  virtual void Begin() = 0;
  // The next bytes of the file that began last.
  virtual void Write(std::string_view chunk) = 0;
  // The file is complete and is named `name`, beside the sitemap file.
  virtual void End(std::string_view name) = 0;
};

// The most one sitemap file may hold.
struct SitemapLimits {
  std::size_t urls = 50'000;
  std::size_t bytes = 50 * 1024 * 1024;
};

// The name of the sitemap's part `number` (from 1): `fileName` with "-N"
// before its extension ("sitemap.xml" gives "sitemap-2.xml").
std::string SitemapPartName(std::string_view fileName, std::size_t number);

// The site address as the sitemap's URLs begin with it: with a "/" added
// when it lacks one, escaped for XML.
std::string SitemapUrlStart(std::string_view siteUrl);

// Appends the <url> element, one line, of the file at `path` below the
// base folder ("docs/a b.html"): its <loc> is `urlStart` (see
// SitemapUrlStart) followed by the path percent-encoded segment by
// segment, its <lastmod> the modification time in UTC, when known.
void AppendSitemapUrl(std::string& out, std::string_view urlStart,
                      std::string_view path,
                      std::optional<std::time_t> modified);

// Writes a sitemaps.org 0.9 sitemap of files added in page order. When the
// URLs outgrow the limits, they go to numbered parts and the sitemap file
// becomes their index.
class SitemapWriter {
 public:
  SitemapWriter(std::string_view siteUrl, std::string_view fileName,
                SitemapSink& sink, SitemapLimits limits = {});

  // Adds the <url> element made by AppendSitemapUrl for this site.
  void AddUrl(std::string_view url);
  // Adds `count` such elements, one a line; in one write when they all
  // fit in the file being written.
  void AddUrls(std::string_view urls, std::size_t count);

  // Ends the last file and, when there are parts, writes the index.
  void Finish();

  std::size_t urlCount() const { return urlCount_; }

 private:
  void BeginUrlSet();
  void EndUrlSet(std::string_view name);
  void WriteIndex();

  std::string siteUrl_;
  std::string fileName_;
  SitemapSink& sink_;
  SitemapLimits limits_;
  bool inFile_ = false;
  std::size_t urlsInFile_ = 0;
  std::size_t bytesInFile_ = 0;
  std::size_t partsDone_ = 0;
  std::size_t urlCount_ = 0;
};

}  // namespace mapgen
