#include "ModernStyle.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "Ascii.h"
#include "Colour.h"
#include "ModernPageFiles.h"
#include "TextCase.h"

namespace mapgen {
namespace {

// `text` as a CSS string, which cannot end the string or the style sheet.
std::string CssString(std::string_view text) {
  std::string css = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\' || c == '<' || byte < 0x20 || byte == 0x7F) {
      std::array<char, 8> escaped;
      std::snprintf(escaped.data(), escaped.size(), "\\%X ", byte);
      css += escaped.data();
    } else {
      css += c;
    }
  }
  return css + "\"";
}

// The CSS size for an HTML font size: "+2" is two steps above the normal
// size 3, "5" is size 5, "normal" is 3; empty for anything else.
std::string CssFontSize(const std::string& size) {
  constexpr const char* kSizes[] = {"x-small", "small",    "medium",   "large",
                                    "x-large", "xx-large", "xxx-large"};
  if (UpperCase(size) == "NORMAL") return kSizes[2];
  const bool relative = size.starts_with('+') || size.starts_with('-');
  const std::string digits = relative ? size.substr(1) : size;
  if (digits.size() != 1 || digits[0] < '0' || digits[0] > '9') return {};
  int step = digits[0] - '0';
  if (relative) step = size[0] == '+' ? 3 + step : 3 - step;
  return kSizes[std::clamp(step, 1, 7) - 1];
}

// The alignment as CSS takes it; empty for text that names none.
std::string CssAlignment(const std::string& alignment) {
  const std::string lower = AsciiLowerCase(alignment);
  for (const char* known : {"left", "center", "right", "justify"}) {
    if (lower == known) return lower;
  }
  return {};
}

std::string ColourValue(const MapSettings& s, std::size_t i) {
  return IsChecked(s.chkColor[i]) ? "#" + ColorToHex(s.shpColor[i]) : "";
}

// Collects the declarations of one rule; a rule without any is left out.
class Rule {
 public:
  Rule& Add(std::string_view property, const std::string& value) {
    if (value.empty()) return *this;
    declarations_ += property;
    declarations_ += ':';
    declarations_ += value;
    declarations_ += ';';
    return *this;
  }

  void AppendTo(std::string& css, std::string_view selector) const {
    if (declarations_.empty()) return;
    css += selector;
    css += '{';
    css += declarations_;
    css += "}\n";
  }

 private:
  std::string declarations_;
};

void AppendOptionRules(const MapSettings& s, std::string& css) {
  Rule body;
  if (s.cmbFont != "default") {
    body.Add("font-family", CssString(s.cmbFont) + ",sans-serif");
  }
  body.Add("background-color", ColourValue(s, 0))
      .Add("color", ColourValue(s, 1));
  if (IsChecked(s.chkBgImage)) {
    body.Add("background-image", "url(" + CssString(s.txtImage) + ")");
  }
  body.AppendTo(css, "body");
  Rule().Add("color", ColourValue(s, 2)).AppendTo(css, "a:link");
  Rule().Add("color", ColourValue(s, 3)).AppendTo(css, "a:visited");
  Rule()
      .Add("text-align", CssAlignment(s.cmbTitleAlign))
      .Add("font-size", CssFontSize(s.cmbSize[1]))
      .Add("color", ColourValue(s, 4))
      .AppendTo(css, "h1");
  Rule()
      .Add("font-size", CssFontSize(s.cmbSize[2]))
      .Add("color", ColourValue(s, 5))
      .AppendTo(css, "summary");
  Rule()
      .Add("text-align", CssAlignment(s.cmbBannerAlign))
      .AppendTo(css, ".banner");
  if (IsChecked(s.chkIndent)) css += "#tree details{margin-left:1.25em}\n";
  if (IsChecked(s.chkLines)) {
    css += "#tree details{border-top:1px solid;padding-top:.2em}\n";
  }
  if (IsChecked(s.chkBullets)) {
    css +=
        "#tree li::before{content:\"\\2022\";display:inline-block;"
        "width:1em;margin-left:-1em}\n";
  }
}

}  // namespace

void AppendModernStyle(const MapSettings& s, std::string& out) {
  out += "<style>\n";
  out += kModernPageCss;
  AppendOptionRules(s, out);
  if (std::none_of(s.chkColor.begin(), s.chkColor.end(), IsChecked)) {
    out += kSystemColoursCss;
  }
  out += "</style>\n";
}

}  // namespace mapgen
