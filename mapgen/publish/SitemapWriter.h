#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The most one sitemap file may hold, its bytes counted before any
// compression.
struct SitemapLimits {
  std::size_t urls = 50'000;
  std::size_t bytes = 50 * 1024 * 1024;
};

// The lengths of a URL that search engines take from a sitemap: the
// schema's <loc> holds 12 characters at least, and the protocol asks for
// fewer than 2,048.
inline constexpr std::size_t kShortestSitemapUrl = 12;
inline constexpr std::size_t kLongestSitemapUrl = 2047;

// Whether the sitemap file `name` is written gzip-compressed: its name
// ends in ".gz".
bool IsCompressedSitemap(std::string_view name);

// The name of the sitemap's part `number` (from 1): `fileName` with "-N"
// before its extension ("sitemap.xml" gives "sitemap-2.xml"), and before
// the extension that ".gz" follows ("sitemap-2.xml.gz").
std::string SitemapPartName(std::string_view fileName, std::size_t number);

// Whether `name` is that of one of the parts of the sitemap `fileName`,
// as SitemapPartName names them.
bool IsSitemapPartName(std::string_view name, std::string_view fileName);

// The site address as the sitemap's URLs begin with it, escaped for XML:
// with a "/" added when it lacks one, and any byte an address cannot hold
// (a space, a character beyond ASCII) percent-encoded.
std::string SitemapUrlStart(std::string_view siteUrl);

// Where the sitemap file at `path` lies below the site address: its path
// from the base folder `base` when it lies there ("maps/sitemap.xml"),
// else its name alone, served at the site address itself. Links on the
// way are not followed.
std::string SitemapServedPath(const std::string& path, const std::string& base);

// The address, as plain text, of the sitemap file at `servedPath` (see
// SitemapServedPath) below the site address `siteUrl`.
std::string SitemapAddress(std::string_view siteUrl,
                           std::string_view servedPath);

// A sitemap's XML text as plain text: "&amp;", "&lt;", "&gt;" and
// "&quot;" read back as the characters they stand for.
std::string UnescapedUrl(std::string_view xml);

// Appends the <url> element, one line, of the file at `path` below the
// base folder ("docs/a b.html"): its <loc> is `urlStart` (see
// SitemapUrlStart) followed by the path percent-encoded segment by
// segment, its <lastmod> the modification time in UTC, when known. A file
// named "index.html" or "index.htm" is listed as its folder, the address
// a server gives it ("docs/").
void AppendSitemapUrl(std::string& out, std::string_view urlStart,
                      std::string_view path,
                      std::optional<std::time_t> modified);

// Appends the <url> line `line`, made by AppendSitemapUrl without a
// modification time, with the time `modified`, when known.
void AppendDatedSitemapUrl(std::string& out, std::string_view line,
                           std::optional<std::time_t> modified);

// The address, as plain text, of a <url> line that AppendSitemapUrl made.
std::string SitemapLineUrl(std::string_view line);

// The URLs a sitemap leaves out because search engines would refuse their
// length: how many, and the first in page order, as plain text.
struct LeftOutUrls {
  std::size_t count = 0;
  std::string first;
};

// Writes a sitemaps.org 0.9 sitemap of URLs added in page order. When the
// URLs outgrow the limits, they go to numbered parts and the sitemap file
// becomes their index, which dates each part by its newest URL. A URL of a
// length search engines refuse is left out. With no URL at all, nothing is
// written: the protocol has no empty sitemap.
class SitemapWriter {
 public:
  // `servedPath` is where the sitemap file lies below the site address:
  // its path from the base folder ("maps/sitemap.xml") when it lies there,
  // else its name, served at the site address itself. The index names its
  // parts in the same folder.
  SitemapWriter(std::string_view siteUrl, std::string_view servedPath,
                SitemapSink& sink, SitemapLimits limits = {});

  // Adds <url> elements made by AppendSitemapUrl for this site, one a line.
  void AddUrls(std::string_view urls);

  // Ends the last file and, when there are parts, writes the index.
  void Finish();

  std::size_t urlCount() const { return urlCount_; }
  const LeftOutUrls& leftOut() const { return leftOut_; }
  // The sitemap's own address (escaped for XML), and the URLs it lists
  // that lie outside the folder of that address, which search engines
  // accept only from a sitemap that robots.txt names.
  std::string Url() const;
  std::size_t urlsOutsideFolder() const { return outsideFolder_; }

 private:
  void Take(std::string_view line, std::string_view& pending);
  void Flush(std::string_view& pending);
  void EndPart();
  void BeginUrlSet();
  void EndUrlSet(std::string_view name);
  void WriteIndex();

  std::string folderUrl_;  // where the sitemap's files are, escaped
  std::string fileName_;
  SitemapSink& sink_;
  SitemapLimits limits_;
  bool inFile_ = false;
  std::size_t urlsInFile_ = 0;
  std::size_t bytesInFile_ = 0;
  std::string newestInFile_;  // the newest <lastmod> text of the file
  std::vector<std::string> partsNewest_;  // that of each part done
  std::size_t urlCount_ = 0;
  std::size_t outsideFolder_ = 0;
  LeftOutUrls leftOut_;
};

}  // namespace mapgen
