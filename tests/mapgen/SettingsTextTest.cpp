#include "SettingsText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MapField.h"
#include "PrintSettings.h"

namespace mapgen {
namespace {

// A field table that knows every field but "unknown".
Outcome<void> Check(const SettingRecord& record) {
  if (record.field != "unknown") return {};
  return Failure{record.field, "unknown field unknown"};
}

// "FILE:LINE: reason", or "read" when the text was read.
std::string Parsed(std::string_view text, const SettingCheck& check) {
  const auto records = ParseSettingsText("m.tessary", text, check);
  if (records) return "read";
  return records.failure().path + ": " + records.failure().reason;
}

TEST(SettingsText, EveryEscapeRoundTripsPastCommentsAndBlankLines) {
  const std::string value = "a\\b\nc\rd\te=f#\\n";
  EXPECT_EQ(EscapeSettingValue(value), "a\\\\b\\nc\\rd\\te=f#\\\\n");
  std::string text = "\xEF\xBB\xBF# Tessary settings\r\n\r\n  \n";
  AppendSettingLine(text, "txtPreface", value);
  text += "cmbFont=\r\n";
  const auto parsed = ParseSettingsText("m.tessary", text, Check);
  ASSERT_TRUE(parsed);
  const std::vector<SettingRecord>& records = *parsed;
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].line, 4u);
  EXPECT_EQ(records[0].field, "txtPreface");
  EXPECT_EQ(records[0].value, value);
  EXPECT_EQ(records[1].line, 5u);
  EXPECT_EQ(records[1].value, "");
}

TEST(SettingsText, NamesFileLineAndReasonOfTheFirstBadLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"txtTitle\n", "m.tessary:1: not a FIELD=VALUE line"},
      {"# x\n=1\n", "m.tessary:2: no field name before \"=\""},
      {"a=1\nb=c:\\q\n", "m.tessary:2: unknown escape \\q; write \\\\ for a backslash"},
      {"a=x\\",
       "m.tessary:1: a backslash ends the value; write \\\\ for a "
       "backslash"},
      {"a=1\r\n\r\nunknown=1\nbad line", "m.tessary:3: unknown field unknown"},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(Parsed(text, Check), expected) << text;
  }
}

// The field table reads back every field it writes, and judges each line.
TEST(SettingsText, TheFieldTableReadsBackWhatItWrites) {
  MapSettings changed;
  changed.txtPreface = "a\r\nb\\";
  changed.chkColor[3] = 2;
  changed.shpColor[1] = 0xABCDEF;
  changed.chkSafeLinks = 1;
  SelectStyle(changed, 2);
  std::string text;
  AppendSettingsText(text, changed);
  MapSettings read;
  ASSERT_EQ(Parsed(text, SettingsInto(read)), "read");
  EXPECT_EQ(read, changed);
  EXPECT_EQ(Parsed("chkBullets=3\n", SettingsInto(read)),
            "m.tessary:1: chkBullets takes 0, 1 or 2, not 3");
  // A field gives its value only as the type that goes with its kind.
  EXPECT_EQ(FindMapField("cmbSize(2)")->In<std::string>(read), "+1");
  EXPECT_THROW(FindMapField("cmbSize(2)")->In<CheckState>(read), std::bad_variant_access);
  EXPECT_THROW(FindMapField("chkColor(1)")->In<Colour>(read), std::bad_variant_access);
}

}  // namespace
}  // namespace mapgen
