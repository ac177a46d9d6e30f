#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "MapSettings.h"
#include "SettingsText.h"
#include "ValueChecks.h"

namespace mapgen {

// What a settings field holds, and so which values it takes.
enum class FieldKind {
  kText,    // any text, stored exactly as given
  kCheck,   // a check box: 0, 1 or 2 (greyed)
  kSwitch,  // a check box the window never greys: 0 or 1
  kStyle,   // one button of the entry style group: only 1, which selects it
  kColour,  // a colour number laid out 0x00BBGGRR, up to 0xFFFFFF
};

// Where a field lives in the settings record: a member of its own, or one
// element of an array member. Each value type goes with its kinds: a
// std::string with a text, a CheckState with a check box or a switch, a
// bool with a style button, a Colour with a colour.
using FieldMember =
    std::variant<std::string MapSettings::*, CheckState MapSettings::*,
                 Colour MapSettings::*, std::array<bool, 4> MapSettings::*,
                 std::array<CheckState, 6> MapSettings::*,
                 std::array<std::string, 3> MapSettings::*,
                 std::array<Colour, 6> MapSettings::*>;

// The element type of an array member; void for any other.
template <typename Member>
struct ArrayElement {
  using type = void;
};
template <typename T, std::size_t N>
struct ArrayElement<std::array<T, N>> {
  using type = T;
};

// A field's value, as its initial value is kept.
using FieldValue = std::variant<std::string, CheckState, bool, Colour>;

// One field of MapSettings as --set, a settings file and the window name it:
// "txtTitle", or "chkColor(3)" for one of an array.
//
// A text field's values pass through its check (see ValueChecks.h), the
// one rule for that field whatever brings the value: a flag, --set, a
// settings file or the window.
class MapField {
 public:
  using Check = Refusal (*)(std::string_view value);

  MapField(std::string name, FieldKind kind, FieldMember member,
           std::size_t index, FieldValue initial, Check check = nullptr)
      : name_(std::move(name)),
        kind_(kind),
        member_(member),
        index_(index),
        initial_(std::move(initial)),
        check_(check) {}

  const std::string& Name() const { return name_; }
  FieldKind Kind() const { return kind_; }
  // The position in its array; 0 for a field of its own.
  std::size_t Index() const { return index_; }

  // The field's value in `settings`, of the type that goes with its kind;
  // asking for another type throws std::bad_variant_access.
  template <typename T>
  T& In(MapSettings& settings) const {
    return std::visit(
        [&](auto member) -> T& {
          auto& value = settings.*member;
          using Member = std::remove_reference_t<decltype(value)>;
          if constexpr (std::is_same_v<Member, T>) {
            return value;
          } else if constexpr (std::is_same_v<
                                   typename ArrayElement<Member>::type, T>) {
            return value[index_];
          } else {
            throw std::bad_variant_access();
          }
        },
        member_);
  }
  template <typename T>
  const T& In(const MapSettings& settings) const {
    return In<T>(const_cast<MapSettings&>(settings));
  }

  // The initial value, the one the window shows at start.
  void Reset(MapSettings& settings) const;

  // The value as text, as it is set.
  std::string Value(const MapSettings& settings) const;

  // Sets the field from `value`; the settings stay unchanged when the
  // value does not suit the field ("chkIndent takes 0, 1 or 2, not yes").
  Outcome<void> Set(MapSettings& settings, std::string_view value) const;

  // Fails when the text field's check refuses `value` ("txtSiteUrl takes
  // an address that starts with http:// or https://, not ex.org"); any
  // other field takes what Set takes.
  Outcome<void> Refuses(std::string_view value) const;

 private:
  std::string name_;
  FieldKind kind_;
  FieldMember member_;
  std::size_t index_;
  FieldValue initial_;
  Check check_;
};

// Every field, in the order of the settings record. txtDir is none: the
// base folder is chosen, not set.
std::span<const MapField> MapFields();

// The field named `name`; null when there is none.
const MapField* FindMapField(std::string_view name);

// Fails at the first text field whose value its check refuses, so that a
// value set where no check ran (the window's boxes) is refused at Build.
Outcome<void> CheckFields(const MapSettings& settings);

// Sets the field `name` from `value`; fails ("unknown field chkNone",
// "chkIndent takes 0, 1 or 2, not yes") when there is no such field or the
// value does not suit it.
Outcome<void> SetMapField(MapSettings& settings, std::string_view name,
                          std::string_view value);

// The check a settings file's lines pass through: each stored in
// `settings` as it is read.
SettingCheck SettingsInto(MapSettings& settings);

// Appends every field's line, in table order, as a settings file holds it.
void AppendSettingsText(std::string& out, const MapSettings& settings);

}  // namespace mapgen
