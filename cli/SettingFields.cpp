#include "SettingFields.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

#include "SettingValues.h"

namespace cli {
namespace {

using mapgen::CheckState;
using mapgen::Colour;
using mapgen::MapSettings;

// Stores a value in a field of each kind; false when it does not suit.
bool Store(std::string& field, std::string_view value) {
  field = value;
  return true;
}
bool Store(CheckState& field, std::string_view value) {
  return ParseCheckState(value, field);
}
bool Store(Colour& field, std::string_view value) {
  return ParseColourNumber(value, field);
}

// What a field of each kind takes, for the message when a value does not.
template <typename T>
constexpr const char* kTakes = "any text";
template <>
constexpr const char* kTakes<CheckState> = "0, 1 or 2";
constexpr const char* kSwitchTakes = "0 or 1";
template <>
constexpr const char* kTakes<Colour> = "a number from 0 to 0xFFFFFF";
constexpr const char* kStyleTakes = "only 1, which selects it";

struct Field {
  std::string name;
  const char* takes;
  std::function<bool(MapSettings&, std::string_view)> store;
};

// Builds the table of fields; the kind of each field follows from the type
// of its member.
class FieldTable {
 public:
  template <typename T>
  void Add(const std::string& name, T MapSettings::*member) {
    fields_.push_back({name, kTakes<T>,
                       [member](MapSettings& settings, std::string_view value) {
                         return Store(settings.*member, value);
                       }});
  }

  template <typename T, std::size_t N>
  void Add(const std::string& name, std::array<T, N> MapSettings::*member) {
    for (std::size_t i = 0; i < N; ++i) {
      fields_.push_back(
          {Indexed(name, i), kTakes<T>,
           [member, i](MapSettings& settings, std::string_view value) {
             return Store((settings.*member)[i], value);
           }});
    }
  }

  // A check box that the window never greys: 0 or 1 only.
  void AddSwitch(const std::string& name, CheckState MapSettings::*member) {
    fields_.push_back({name, kSwitchTakes,
                       [member](MapSettings& settings, std::string_view value) {
                         CheckState state = 0;
                         if (!ParseCheckState(value, state) || state > 1) {
                           return false;
                         }
                         settings.*member = state;
                         return true;
                       }});
  }

  // The entry style buttons form a group: setting one clears the others,
  // and clearing one alone would leave no style selected.
  template <std::size_t N>
  void Add(const std::string& name, std::array<bool, N> MapSettings::*) {
    for (std::size_t i = 0; i < N; ++i) {
      fields_.push_back({Indexed(name, i), kStyleTakes,
                         [i](MapSettings& settings, std::string_view value) {
                           if (value != "1") return false;
                           SelectStyle(settings, i);
                           return true;
                         }});
    }
  }

  std::vector<Field> Take() { return std::move(fields_); }

 private:
  static std::string Indexed(const std::string& name, std::size_t index) {
    return name + "(" + std::to_string(index) + ")";
  }

  std::vector<Field> fields_;
};

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = [] {
    FieldTable table;
    table.Add("txtTitle", &MapSettings::txtTitle);
    table.Add("chkShowSubfolders", &MapSettings::chkShowSubfolders);
    table.Add("chkShowEmpties", &MapSettings::chkShowEmpties);
    table.Add("chkExtension", &MapSettings::chkExtension);
    table.Add("txtExtensions", &MapSettings::txtExtensions);
    table.Add("chkHTMext", &MapSettings::chkHTMext);
    table.Add("optStyle", &MapSettings::optStyle);
    table.Add("chkBannerImage", &MapSettings::chkBannerImage);
    table.Add("txtBannerImage", &MapSettings::txtBannerImage);
    table.Add("cmbBannerAlign", &MapSettings::cmbBannerAlign);
    table.Add("chkBullets", &MapSettings::chkBullets);
    table.Add("chkIndent", &MapSettings::chkIndent);
    table.Add("chkLines", &MapSettings::chkLines);
    table.Add("cmbFont", &MapSettings::cmbFont);
    table.Add("cmbTitleAlign", &MapSettings::cmbTitleAlign);
    table.Add("cmbSize", &MapSettings::cmbSize);
    table.Add("chkColor", &MapSettings::chkColor);
    table.Add("shpColor", &MapSettings::shpColor);
    table.Add("chkBgImage", &MapSettings::chkBgImage);
    table.Add("txtImage", &MapSettings::txtImage);
    table.Add("txtPreface", &MapSettings::txtPreface);
    table.Add("txtAppendix", &MapSettings::txtAppendix);
    table.AddSwitch("chkSafeLinks", &MapSettings::chkSafeLinks);
    return table.Take();
  }();
  return fields;
}

}  // namespace

bool SetField(MapSettings& settings, std::string_view name,
              std::string_view value, std::string& problem) {
  const std::vector<Field>& fields = Fields();
  const auto field =
      std::find_if(fields.begin(), fields.end(),
                   [&](const Field& f) { return f.name == name; });
  if (field == fields.end()) {
    problem = "unknown field " + std::string(name);
    return false;
  }
  if (!field->store(settings, value)) {
    problem =
        field->name + " takes " + field->takes + ", not " + std::string(value);
    return false;
  }
  return true;
}

std::vector<std::string> FieldNames() {
  std::vector<std::string> names;
  for (const Field& field : Fields()) names.push_back(field.name);
  return names;
}

}  // namespace cli
