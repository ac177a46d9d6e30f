#include "SettingsText.h"

#include <algorithm>

#include "Ascii.h"
#include "TextLines.h"
#include "Utf8.h"

namespace mapgen {
namespace {

constexpr std::pair<char, char> kEscapes[] = {
    {'\n', 'n'}, {'\r', 'r'}, {'\t', 't'}, {'\\', '\\'}};

bool IsBlank(std::string_view line) { return Trim(line, " \t").empty(); }

// The value its escaped form stands for; fails when it holds a backslash
// that starts no escape.
Outcome<std::string> UnescapeSettingValue(std::string_view text) {
  std::string unescaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      unescaped += text[i];
      continue;
    }
    if (++i == text.size()) {
      return Failure{{},
                     "a backslash ends the value; write \\\\ for a backslash"};
    }
    const auto escape =
        std::find_if(std::begin(kEscapes), std::end(kEscapes),
                     [&](const auto& e) { return e.second == text[i]; });
    if (escape == std::end(kEscapes)) {
      return Failure{{},
                     std::string("unknown escape \\") + text[i] +
                         "; write \\\\ for a backslash"};
    }
    unescaped += escape->first;
  }
  return unescaped;
}

// The record a line holds, but for its number; fails, for the reason
// alone, when it holds none.
Outcome<SettingRecord> ParseLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    return Failure{{}, "not a FIELD=VALUE line"};
  }
  if (equals == 0) return Failure{{}, "no field name before \"=\""};
  auto value = UnescapeSettingValue(line.substr(equals + 1));
  if (!value) return std::move(value).failure();
  return SettingRecord{0, std::string(line.substr(0, equals)),
                       std::move(*value)};
}

}  // namespace

std::string EscapeSettingValue(std::string_view value) {
  std::string escaped;
  escaped.reserve(value.size());
  for (const char c : value) {
    const auto escape =
        std::find_if(std::begin(kEscapes), std::end(kEscapes),
                     [c](const auto& e) { return e.first == c; });
    if (escape == std::end(kEscapes)) {
      escaped += c;
    } else {
      escaped += '\\';
      escaped += escape->second;
    }
  }
  return escaped;
}

Outcome<std::vector<SettingRecord>> ParseSettingsText(
    std::string_view fileName, std::string_view text,
    const SettingCheck& check) {
  if (text.starts_with(kUtf8ByteOrderMark)) {
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  std::vector<SettingRecord> records;
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::string_view line = TakeLine(text);
    if (IsBlank(line) || line.starts_with('#')) continue;
    auto record = ParseLine(line);
    if (record) record->line = number;
    auto checked = record ? check(*record) : Outcome<void>(record.failure());
    if (!checked) {
      return Failure{std::string(fileName) + ":" + std::to_string(number),
                     std::move(checked).failure().reason};
    }
    records.push_back(std::move(*record));
  }
  return records;
}

void AppendSettingLine(std::string& out, std::string_view field,
                       std::string_view value) {
  out += field;
  out += '=';
  out += EscapeSettingValue(value);
  out += '\n';
}

}  // namespace mapgen
