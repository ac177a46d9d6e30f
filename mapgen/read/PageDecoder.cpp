#include "PageDecoder.h"

#include <algorithm>
#include <cerrno>
#include <unordered_map>
#include <utility>

#include "EncodingLabels.h"
#include "Utf8.h"

namespace mapgen {
namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

// The name to open a descriptor for; empty for UTF-8, for a label that
// names no set browsers know (a page's text may say anything), and for the
// replacement set, which decodes nothing.
std::string IconvName(std::string_view label) {
  const std::string_view encoding = EncodingOfLabel(label);
  if (encoding == "UTF-8" || encoding == kReplacementEncoding) return {};
  return std::string(encoding);
}

// How many bytes one code unit takes: a byte that is no character is
// skipped one unit at a time, so that UTF-16 stays in step.
std::size_t UnitSize(std::string_view name) {
  return IsUtf16Encoding(name) ? 2 : 1;
}

iconv_t OpenToUtf8(const std::string& name) {
  return name.empty() ? kNoDescriptor : iconv_open("UTF-8", name.c_str());
}

// The descriptors of one thread, by name; a name the system does not know
// is remembered too, so it is not looked up again for every page.
class DescriptorCache {
 public:
  ~DescriptorCache() { Clear(); }

  iconv_t Get(const std::string& name) {
    const auto found = descriptors_.find(name);
    if (found != descriptors_.end()) return found->second;
    // A tree of pages that each name another bogus set must not grow this.
    if (descriptors_.size() >= 64) Clear();
    return descriptors_.emplace(name, OpenToUtf8(name)).first->second;
  }

 private:
  void Clear() {
    for (const auto& [name, descriptor] : descriptors_) {
      if (descriptor != kNoDescriptor) iconv_close(descriptor);
    }
    descriptors_.clear();
  }

  std::unordered_map<std::string, iconv_t> descriptors_;
};

// Converts `in` to UTF-8 onto `out`, leaving in `in` a character cut at
// its end unless `final`, when that too shows as U+FFFD.
void Convert(iconv_t descriptor, std::string_view& in, std::string& out,
             std::size_t unit, bool final) {
  char buffer[4096];
  while (!in.empty()) {
    char* input = const_cast<char*>(in.data());
    std::size_t inputLeft = in.size();
    char* output = buffer;
    std::size_t outputLeft = sizeof buffer;
    const std::size_t done =
        iconv(descriptor, &input, &inputLeft, &output, &outputLeft);
    const int error = errno;
    out.append(buffer, static_cast<std::size_t>(output - buffer));
    in.remove_prefix(in.size() - inputLeft);
    if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    if (error == EINVAL && !final) return;
    out += kReplacementCharacter;
    in.remove_prefix(error == EINVAL ? in.size() : std::min(unit, in.size()));
  }
  if (final) {
    char* output = buffer;
    std::size_t outputLeft = sizeof buffer;
    iconv(descriptor, nullptr, nullptr, &output, &outputLeft);
    out.append(buffer, static_cast<std::size_t>(output - buffer));
  }
}

}  // namespace

std::string TitleToUtf8(std::string title, std::string_view charset) {
  if (EncodingOfLabel(charset) == kReplacementEncoding) {
    return title.empty() ? title : std::string(kReplacementCharacter);
  }
  thread_local DescriptorCache descriptors;
  std::string utf8;
  const std::string name = IconvName(charset);
  const iconv_t descriptor =
      name.empty() ? kNoDescriptor : descriptors.Get(name);
  if (descriptor == kNoDescriptor) {
    // Most titles are UTF-8 already, and are kept rather than copied.
    if (IsValidUtf8(title)) return title;
    AppendReplacingInvalidUtf8(utf8, title);
    return utf8;
  }
  // Every title of this thread shares the descriptor: each starts from
  // the initial state, whatever the one before it left.
  iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
  std::string_view bytes = title;
  Convert(descriptor, bytes, utf8, UnitSize(name), true);
  return utf8;
}

PageDecoder::PageDecoder(std::string_view charset)
    : descriptor_(OpenToUtf8(IconvName(charset))),
      unit_(UnitSize(IconvName(charset))) {}

PageDecoder::~PageDecoder() {
  if (descriptor_ != kNoDescriptor) iconv_close(descriptor_);
}

std::string PageDecoder::Decode(std::string_view bytes) {
  if (descriptor_ == kNoDescriptor) return std::string(bytes);
  std::string joined;
  if (!carry_.empty()) {
    joined = carry_ + std::string(bytes);
    bytes = joined;
  }
  std::string utf8;
  Convert(descriptor_, bytes, utf8, unit_, false);
  carry_.assign(bytes);
  if (atStart_ && !utf8.empty()) {
    atStart_ = false;
    if (utf8.starts_with(kUtf8ByteOrderMark)) {
      utf8.erase(0, kUtf8ByteOrderMark.size());
    }
  }
  return utf8;
}

std::string PageDecoder::Finish() {
  std::string utf8;
  if (descriptor_ != kNoDescriptor) {
    std::string_view rest = carry_;
    Convert(descriptor_, rest, utf8, unit_, true);
    carry_.clear();
  }
  return utf8;
}

}  // namespace mapgen
