#include "SettingsText.h"

#include <algorithm>

#include "InvalidUtf8.h"
#include "TextLines.h"

namespace mapgen {
namespace {

constexpr std::pair<char, char> kEscapes[] = {
    {'\n', 'n'}, {'\r', 'r'}, {'\t', 't'}, {'\\', '\\'}};

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

// The record a line holds; false with the reason when it holds none.
bool ParseLine(std::string_view line, SettingRecord& record,
               std::string& reason) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    reason = "not a FIELD=VALUE line";
    return false;
  }
  if (equals == 0) {
    reason = "no field name before \"=\"";
    return false;
  }
  record.field = line.substr(0, equals);
  return UnescapeSettingValue(line.substr(equals + 1), record.value, reason);
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

bool UnescapeSettingValue(std::string_view text, std::string& value,
                          std::string& reason) {
  std::string unescaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      unescaped += text[i];
      continue;
    }
    if (++i == text.size()) {
      reason = "a backslash ends the value; write \\\\ for a backslash";
      return false;
    }
    const auto escape =
        std::find_if(std::begin(kEscapes), std::end(kEscapes),
                     [&](const auto& e) { return e.second == text[i]; });
    if (escape == std::end(kEscapes)) {
      reason = std::string("unknown escape \\") + text[i] +
               "; write \\\\ for a backslash";
      return false;
    }
    unescaped += escape->first;
  }
  value = std::move(unescaped);
  return true;
}

bool ParseSettingsText(std::string_view fileName, std::string_view text,
                       const SettingCheck& check,
                       std::vector<SettingRecord>& records,
                       std::string& error) {
  if (text.starts_with(kUtf8ByteOrderMark)) {
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  for (std::size_t number = 1; !text.empty(); ++number) {
    const std::string_view line = TakeLine(text);
    if (IsBlank(line) || line.starts_with('#')) continue;
    SettingRecord record;
    record.line = number;
    std::string reason;
    if (!ParseLine(line, record, reason) || !check(record, reason)) {
      error =
          std::string(fileName) + ":" + std::to_string(number) + ": " + reason;
      return false;
    }
    records.push_back(std::move(record));
  }
  return true;
}

void AppendSettingLine(std::string& out, std::string_view field,
                       std::string_view value) {
  out += field;
  out += '=';
  out += EscapeSettingValue(value);
  out += '\n';
}

}  // namespace mapgen
