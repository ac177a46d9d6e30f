// Feeds fuzzed bytes to what reads text strangers wrote, beside the head
// reader: the meta tags of a head, a title in a set it may name, bytes as
// UTF-16 decoded in pieces, and a settings file. Whatever comes in, what
// comes out is valid UTF-8, decoding in pieces changes nothing, and
// settings lines that were read write back to the same values.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "DeclaredCharset.h"
#include "PageDecoder.h"
#include "RobotsNoindex.h"
#include "SettingsText.h"
#include "Utf8.h"

namespace {

using namespace mapgen;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

std::string DecodeUtf16(std::string_view page, std::size_t step) {
  PageDecoder decoder("UTF-16LE");
  std::string decoded;
  for (std::size_t pos = 0; pos < page.size(); pos += step) {
    decoded += decoder.Decode(page.substr(pos, step));
  }
  return decoded + decoder.Finish();
}

void CheckSettingsRoundTrip(std::string_view text) {
  // Field names as the field table has them: letters, digits, parentheses.
  const SettingCheck any = [](const SettingRecord& record) -> Outcome<void> {
    const bool named = std::all_of(record.field.begin(), record.field.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '(' || c == ')';
    });
    if (named) return {};
    return Failure{record.field, "no field name"};
  };
  const auto records = ParseSettingsText("f", text, any);
  if (!records) return;
  std::string written;
  for (const SettingRecord& record : *records) {
    AppendSettingLine(written, record.field, record.value);
  }
  const auto again = ParseSettingsText("f", written, any);
  Check(again && again->size() == records->size());
  for (std::size_t i = 0; i < again->size(); ++i) {
    Check((*again)[i].field == (*records)[i].field && (*again)[i].value == (*records)[i].value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view page(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string_view charset;
  FindMetaTag(page, [&](const TagAttributes& meta) {
    charset = MetaTagCharset(meta);
    return !charset.empty() || AsksNoindex(meta);
  });
  Check(IsValidUtf8(TitleToUtf8(std::string(page), charset)));
  std::string shown;
  AppendReplacingInvalidUtf8(shown, page);
  Check(IsValidUtf8(shown) && (shown == page) == IsValidUtf8(page));
  const std::string whole = DecodeUtf16(page, page.size() + 1);
  Check(IsValidUtf8(whole) && whole == DecodeUtf16(page, 1 + data[0] % 7));
  CheckSettingsRoundTrip(page);
  return 0;
}
