#pragma once

#include <zlib.h>

#include <functional>
#include <string>
#include <string_view>

#include "SitemapWriter.h"

namespace mapgen {

// Hands each file of a sitemap on to another sink gzip-compressed, at a
// fast level: a sitemap is written at every build, and its repetitive
// text shrinks well at any level.
class GzipSitemapSink : public SitemapSink {
 public:
  explicit GzipSitemapSink(SitemapSink& compressed);
  ~GzipSitemapSink() override;
  GzipSitemapSink(const GzipSitemapSink&) = delete;
  GzipSitemapSink& operator=(const GzipSitemapSink&) = delete;

  void Begin() override;
  void Write(std::string_view chunk) override;
  void End(std::string_view name) override;

 private:
  void Deflate(std::string_view bytes, int flush);

  SitemapSink& compressed_;
  z_stream stream_{};
  bool open_ = false;
  std::string out_;
};

// Reads a gzip stream piece by piece, handing on its bytes as they come.
class Gunzip {
 public:
  Gunzip();
  ~Gunzip();
  Gunzip(const Gunzip&) = delete;
  Gunzip& operator=(const Gunzip&) = delete;

  // Whether `start`, the first bytes of a file, begin a gzip stream.
  static bool Begins(std::string_view start);

  // Decompresses the next bytes of the stream into `take`, which says
  // whether it wants more; false when the stream is corrupt.
  bool Feed(std::string_view bytes,
            const std::function<bool(std::string_view)>& take);

 private:
  z_stream stream_{};
  std::string out_;
};

}  // namespace mapgen
