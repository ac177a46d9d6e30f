#include "MapField.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace mapgen {
namespace {

// What a field of each kind takes, for the message when a value does not.
const char* Takes(FieldKind kind) {
  switch (kind) {
    case FieldKind::kText:
      return "any text";
    case FieldKind::kCheck:
      return "0, 1 or 2";
    case FieldKind::kSwitch:
      return "0 or 1";
    case FieldKind::kStyle:
      return "only 1, which selects it";
    case FieldKind::kColour:
      return "a number from 0 to 0xFFFFFF";
  }
  return "";
}

// A check box's state as one digit, no higher than `highest`.
bool ParseCheckState(std::string_view text, CheckState highest,
                     CheckState& state) {
  if (text.size() != 1 || text[0] < '0' || text[0] > '0' + highest) {
    return false;
  }
  state = text[0] - '0';
  return true;
}

// The stored colour number: decimal, or hexadecimal after "0x"; digits
// only, so the whole text must be used.
bool ParseColourNumber(std::string_view text, Colour& colour) {
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  if (hex) text.remove_prefix(2);
  std::uint64_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] =
      std::from_chars(text.data(), end, number, hex ? 16 : 10);
  if (text.empty() || error != std::errc() || stop != end ||
      number > 0xFFFFFF) {
    return false;
  }
  colour = static_cast<Colour>(number);
  return true;
}

// The type of the values of a kind of field.
template <FieldKind kind>
using ValueOfKind = std::conditional_t<
    kind == FieldKind::kText, std::string,
    std::conditional_t<
        kind == FieldKind::kStyle, bool,
        std::conditional_t<kind == FieldKind::kColour, Colour, CheckState>>>;

// Builds the table: one line a member, the kind of each field and its
// initial value; an array's member gives one field for each element. A
// member whose type does not go with its kind does not compile.
class FieldTable {
 public:
  template <FieldKind kind, typename T>
  void Add(const char* name, T MapSettings::*member, T initial,
           MapField::Check check = nullptr) {
    static_assert(std::is_same_v<T, ValueOfKind<kind>>);
    fields_.emplace_back(name, kind, member, 0, std::move(initial), check);
  }

  template <FieldKind kind, typename T, std::size_t N>
  void Add(const char* name, std::array<T, N> MapSettings::*member,
           std::array<T, N> initial) {
    static_assert(std::is_same_v<T, ValueOfKind<kind>>);
    for (std::size_t i = 0; i < N; ++i) {
      fields_.emplace_back(std::string(name) + "(" + std::to_string(i) + ")",
                           kind, member, i, initial[i]);
    }
  }

  std::vector<MapField> Take() { return std::move(fields_); }

 private:
  std::vector<MapField> fields_;
};

const std::vector<MapField>& Table() {
  using K = FieldKind;
  using S = MapSettings;
  static const std::vector<MapField> fields = [] {
    FieldTable t;
    t.Add<K::kText>("txtTitle", &S::txtTitle, std::string("Site Map"));
    t.Add<K::kCheck>("chkShowSubfolders", &S::chkShowSubfolders, kChecked);
    t.Add<K::kCheck>("chkShowEmpties", &S::chkShowEmpties, kChecked);
    t.Add<K::kCheck>("chkExtension", &S::chkExtension, {1, 0, 1, 1, 0, 0});
    t.Add<K::kText>("txtExtensions", &S::txtExtensions, std::string("zip"));
    t.Add<K::kCheck>("chkHTMext", &S::chkHTMext, kUnchecked);
    t.Add<K::kStyle>("optStyle", &S::optStyle, {true, false, false, false});
    t.Add<K::kCheck>("chkBannerImage", &S::chkBannerImage, kUnchecked);
    t.Add<K::kText>("txtBannerImage", &S::txtBannerImage,
                    std::string("[none]"));
    t.Add<K::kText>("cmbBannerAlign", &S::cmbBannerAlign,
                    std::string("center"));
    t.Add<K::kCheck>("chkBullets", &S::chkBullets, kUnchecked);
    t.Add<K::kCheck>("chkIndent", &S::chkIndent, kChecked);
    t.Add<K::kCheck>("chkLines", &S::chkLines, kUnchecked);
    t.Add<K::kText>("cmbFont", &S::cmbFont, std::string("default"));
    t.Add<K::kText>("cmbTitleAlign", &S::cmbTitleAlign, std::string("Center"));
    t.Add<K::kText>(
        "cmbSize", &S::cmbSize,
        {std::string("normal"), std::string("+2"), std::string("+1")});
    t.Add<K::kCheck>("chkColor", &S::chkColor, {0, 0, 0, 0, 0, 0});
    t.Add<K::kColour>("shpColor", &S::shpColor,
                      {0x00D0FDFF, 0x00000000, 0x00FF0000, 0x00C000C0,
                       0x00000000, 0x00000000});
    t.Add<K::kCheck>("chkBgImage", &S::chkBgImage, kUnchecked);
    t.Add<K::kText>("txtImage", &S::txtImage, std::string("[none]"));
    t.Add<K::kText>("txtPreface", &S::txtPreface, std::string());
    t.Add<K::kText>("txtAppendix", &S::txtAppendix, std::string());
    t.Add<K::kSwitch>("chkSafeLinks", &S::chkSafeLinks, kUnchecked);
    t.Add<K::kText>("txtExclude", &S::txtExclude, std::string(),
                    CheckExcludeGlobs);
    t.Add<K::kSwitch>("chkLastExtension", &S::chkLastExtension, kUnchecked);
    t.Add<K::kSwitch>("chkUtf8", &S::chkUtf8, kUnchecked);
    t.Add<K::kText>("txtLinkPrefix", &S::txtLinkPrefix, std::string(),
                    CheckLinkPrefix);
    t.Add<K::kText>("cmbTemplate", &S::cmbTemplate, std::string("classic"),
                    CheckTemplateName);
    t.Add<K::kText>("txtLang", &S::txtLang, std::string(), CheckLanguageTag);
    t.Add<K::kSwitch>("chkCollapsed", &S::chkCollapsed, kUnchecked);
    t.Add<K::kSwitch>("chkFollowOutside", &S::chkFollowOutside, kUnchecked);
    t.Add<K::kText>("txtSitemapXml", &S::txtSitemapXml, std::string(),
                    CheckPathBelowPage);
    t.Add<K::kText>("txtSiteUrl", &S::txtSiteUrl, std::string(), CheckSiteUrl);
    t.Add<K::kText>("cmbLastmod", &S::cmbLastmod, std::string("file"),
                    CheckLastmodSource);
    t.Add<K::kText>("txtRobotsTxt", &S::txtRobotsTxt, std::string(),
                    CheckPathBelowPage);
    return t.Take();
  }();
  return fields;
}

}  // namespace

void MapField::Reset(MapSettings& settings) const {
  std::visit(
      [&](const auto& initial) {
        In<std::decay_t<decltype(initial)>>(settings) = initial;
      },
      initial_);
}

std::string MapField::Value(const MapSettings& settings) const {
  switch (kind_) {
    case FieldKind::kText:
      return In<std::string>(settings);
    case FieldKind::kCheck:
    case FieldKind::kSwitch:
      return std::to_string(In<CheckState>(settings));
    case FieldKind::kStyle:
      return In<bool>(settings) ? "1" : "0";
    case FieldKind::kColour:
      return std::to_string(In<Colour>(settings));
  }
  return {};
}

Outcome<void> MapField::Refuses(std::string_view value) const {
  if (kind_ != FieldKind::kText) return {};
  Refusal refusal = CheckText(value);
  if (refusal.takes.empty() && check_ != nullptr) refusal = check_(value);
  if (refusal.takes.empty()) return {};
  return Failure{name_, name_ + " takes " + refusal.takes + ", not " +
                            std::string(refusal.culprit)};
}

Outcome<void> MapField::Set(MapSettings& settings,
                            std::string_view value) const {
  bool stored = true;
  switch (kind_) {
    case FieldKind::kText:
      if (auto refused = Refuses(value); !refused) return refused;
      In<std::string>(settings) = value;
      break;
    case FieldKind::kCheck:
    case FieldKind::kSwitch:
      stored = ParseCheckState(value, kind_ == FieldKind::kCheck ? 2 : 1,
                               In<CheckState>(settings));
      break;
    case FieldKind::kStyle:
      // Clearing one button alone would leave no style selected.
      stored = value == "1";
      if (stored) SelectStyle(settings, index_);
      break;
    case FieldKind::kColour:
      stored = ParseColourNumber(value, In<Colour>(settings));
      break;
  }
  if (!stored) {
    return Failure{name_, name_ + " takes " + Takes(kind_) + ", not " +
                              std::string(value)};
  }
  return {};
}

std::span<const MapField> MapFields() { return Table(); }

Outcome<void> CheckFields(const MapSettings& settings) {
  for (const MapField& field : MapFields()) {
    if (field.Kind() != FieldKind::kText) continue;
    if (auto refused = field.Refuses(field.In<std::string>(settings));
        !refused) {
      return refused;
    }
  }
  return {};
}

const MapField* FindMapField(std::string_view name) {
  const auto fields = MapFields();
  const auto field =
      std::find_if(fields.begin(), fields.end(),
                   [&](const MapField& f) { return f.Name() == name; });
  return field == fields.end() ? nullptr : &*field;
}

Outcome<void> SetMapField(MapSettings& settings, std::string_view name,
                          std::string_view value) {
  const MapField* field = FindMapField(name);
  if (field == nullptr) {
    return Failure{std::string(name), "unknown field " + std::string(name)};
  }
  return field->Set(settings, value);
}

SettingCheck SettingsInto(MapSettings& settings) {
  return [&settings](const SettingRecord& record) {
    return SetMapField(settings, record.field, record.value);
  };
}

void AppendSettingsText(std::string& out, const MapSettings& settings) {
  for (const MapField& field : MapFields()) {
    // A style button is written only where it is set: setting it selects
    // it, and there is no clearing one alone.
    if (field.Kind() == FieldKind::kStyle && !field.In<bool>(settings)) {
      continue;
    }
    AppendSettingLine(out, field.Name(), field.Value(settings));
  }
}

}  // namespace mapgen
