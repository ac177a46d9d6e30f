#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Outcome.h"

namespace mapgen {

// The text of a settings file: UTF-8, one FIELD=VALUE a line, "#" starting
// a comment line. In VALUE, "\n", "\r", "\t" and "\\" stand for a line
// feed, a carriage return, a tab and a backslash, so every value fits on
// its line. Which fields exist and what they take is the field table's
// business; this code only carries the text.

// One FIELD=VALUE line as read: its line number from 1, the value
// unescaped.
struct SettingRecord {
  std::size_t line = 0;
  std::string field;
  std::string value;
};

// Judges one record, as the field table does: fails ("unknown field
// txtTitel") when the field does not exist or the value does not suit it.
// It may also store the value.
using SettingCheck = std::function<Outcome<void>(const SettingRecord& record)>;

// The value with line feeds, carriage returns, tabs and backslashes
// written as escapes.
std::string EscapeSettingValue(std::string_view value);

// Reads the text of the settings file `fileName` into records, in file
// order, passing each to `check` as it is read. Lines end at LF (a CR
// before it is dropped); blank lines, comment lines and a leading
// byte-order mark are skipped. Fails at the first line that is not
// FIELD=VALUE or that `check` refuses, the failure's path "FILE:LINE".
Outcome<std::vector<SettingRecord>> ParseSettingsText(
    std::string_view fileName, std::string_view text,
    const SettingCheck& check);

// Appends the line "FIELD=VALUE" with the value escaped.
void AppendSettingLine(std::string& out, std::string_view field,
                       std::string_view value);

}  // namespace mapgen
