#include "GzipSitemapSink.h"

#include <new>

namespace mapgen {
namespace {

constexpr int kFastLevel = 1;
// zlib's window bits, 16 more asking for a gzip header and trailer.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;
constexpr std::size_t kOutputSize = 64 * 1024;

}  // namespace

GzipSitemapSink::GzipSitemapSink(SitemapSink& compressed)
    : compressed_(compressed), out_(kOutputSize, '\0') {}

GzipSitemapSink::~GzipSitemapSink() {
  if (open_) deflateEnd(&stream_);
}

void GzipSitemapSink::Begin() {
  if (open_) deflateEnd(&stream_);
  stream_ = {};
  // Nothing but memory can be short here.
  open_ = deflateInit2(&stream_, kFastLevel, Z_DEFLATED, kGzipWindowBits,
                       kMemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK;
  if (!open_) throw std::bad_alloc();
  compressed_.Begin();
}

void GzipSitemapSink::Write(std::string_view chunk) {
  Deflate(chunk, Z_NO_FLUSH);
}

void GzipSitemapSink::End(std::string_view name) {
  Deflate({}, Z_FINISH);
  deflateEnd(&stream_);
  open_ = false;
  compressed_.End(name);
}

// A chunk is at most a sitemap file's worth, well within what zlib takes
// at once.
void GzipSitemapSink::Deflate(std::string_view bytes, int flush) {
  stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream_.avail_in = static_cast<uInt>(bytes.size());
  int status;
  do {
    stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
    stream_.avail_out = static_cast<uInt>(out_.size());
    status = deflate(&stream_, flush);
    const std::size_t made = out_.size() - stream_.avail_out;
    if (made > 0) compressed_.Write({out_.data(), made});
  } while (stream_.avail_out == 0 || (flush == Z_FINISH && status == Z_OK));
}

}  // namespace mapgen
