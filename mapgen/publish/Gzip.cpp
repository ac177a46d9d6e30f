#include "Gzip.h"

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

Gunzip::Gunzip() : out_(kOutputSize, '\0') {
  if (inflateInit2(&stream_, kGzipWindowBits) != Z_OK) throw std::bad_alloc();
}

Gunzip::~Gunzip() { inflateEnd(&stream_); }

bool Gunzip::Begins(std::string_view start) {
  return start.starts_with("\x1F\x8B");
}

bool Gunzip::Feed(std::string_view bytes,
                  const std::function<bool(std::string_view)>& take) {
  stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream_.avail_in = static_cast<uInt>(bytes.size());
  // Output that filled the buffer may have more behind it.
  do {
    stream_.next_out = reinterpret_cast<Bytef*>(out_.data());
    stream_.avail_out = static_cast<uInt>(out_.size());
    const int status = inflate(&stream_, Z_NO_FLUSH);
    const std::size_t made = out_.size() - stream_.avail_out;
    if (made > 0 && !take({out_.data(), made})) return true;
    if (status == Z_STREAM_END || status == Z_BUF_ERROR) return true;
    if (status != Z_OK) return false;
  } while (stream_.avail_in > 0 || stream_.avail_out == 0);
  return true;
}

}  // namespace mapgen
