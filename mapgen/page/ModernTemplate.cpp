#include "ModernTemplate.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "Ascii.h"
#include "EntryWriter.h"
#include "Escaping.h"
#include "PageWords.h"
#include "Paths.h"
#include "SizeAndTime.h"
#include "TextCase.h"
#include "TextToHtml.h"

namespace mapgen {
namespace {

// Hides the entries whose text lacks what is typed, and the sections left
// with none; waits for a pause in the typing, so a long page keeps up.
constexpr std::string_view kFilterScript = R"(<script>
(function () {
  var box = document.getElementById("filter"), timer = 0;
  box.parentNode.hidden = false;
  box.addEventListener("input", function () {
    clearTimeout(timer);
    timer = setTimeout(function () {
      var text = box.value.toLowerCase();
      var sections = document.querySelectorAll("main details");
      for (var i = 0; i < sections.length; i++) {
        var entries = sections[i].getElementsByTagName("li"), shown = 0;
        for (var j = 0; j < entries.length; j++) {
          var keep = entries[j].textContent.toLowerCase().indexOf(text) >= 0;
          entries[j].hidden = !keep;
          if (keep) shown++;
        }
        sections[i].hidden = text !== "" && shown === 0;
      }
    }, 150);
  });
})();
</script>
)";

// When no colour is chosen, the reader's system chooses light or dark.
constexpr std::string_view kLightAndDark =
    ":root{color-scheme:light dark}\n"
    "@media (prefers-color-scheme:dark){body{background:#121212;"
    "color:#e8e8e8}a{color:#8ab4f8}a:visited{color:#c58af9}}\n";

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
  std::string lower = alignment;
  for (char& c : lower) c = AsciiLower(c);
  for (const char* known : {"left", "center", "right", "justify"}) {
    if (lower == known) return lower;
  }
  return {};
}

void AddRule(std::string& css, std::string_view property,
             const std::string& value) {
  if (value.empty()) return;
  css += property;
  css += ':';
  css += value;
  css += ';';
}

std::string ColourRule(const MapSettings& s, std::size_t i) {
  return IsChecked(s.chkColor[i]) ? "#" + ColorToHex(s.shpColor[i]) : "";
}

void WriteStyle(const MapSettings& s, std::string& out) {
  out += "<style>\n";
  std::string body =
      "margin:1em auto;max-width:60em;padding:0 1em;"
      "line-height:1.4;";
  AddRule(body, "font-family",
          s.cmbFont != "default" ? CssString(s.cmbFont) + ",sans-serif"
                                 : "system-ui,sans-serif");
  AddRule(body, "background", ColourRule(s, 0));
  AddRule(body, "color", ColourRule(s, 1));
  if (IsChecked(s.chkBgImage)) {
    AddRule(body, "background-image", "url(" + CssString(s.txtImage) + ")");
  }
  out += "body{" + body + "}\n";
  std::string links;
  AddRule(links, "color", ColourRule(s, 2));
  if (!links.empty()) out += "a:link{" + links + "}\n";
  std::string visited;
  AddRule(visited, "color", ColourRule(s, 3));
  if (!visited.empty()) out += "a:visited{" + visited + "}\n";
  std::string title;
  AddRule(title, "text-align", CssAlignment(s.cmbTitleAlign));
  AddRule(title, "font-size", CssFontSize(s.cmbSize[1]));
  AddRule(title, "color", ColourRule(s, 4));
  out += "h1{" + title + "}\n";
  std::string heading = "font-weight:bold;cursor:pointer;";
  AddRule(heading, "font-size", CssFontSize(s.cmbSize[2]));
  AddRule(heading, "color", ColourRule(s, 5));
  out += "summary{" + heading + "}\n";
  out += "details{margin:.4em 0}\n";
  out += "ul{margin:.2em 0;padding-left:1.5em;list-style:";
  out += IsChecked(s.chkBullets) ? "disc" : "none";
  out += "}\n";
  out += "small{opacity:.7;margin-left:.5em}\n";
  out += "#filter{width:100%;max-width:30em;padding:.3em;font:inherit}\n";
  out += "footer{margin-top:3em;font-size:smaller}\n";
  std::string banner;
  AddRule(banner, "text-align", CssAlignment(s.cmbBannerAlign));
  if (!banner.empty()) out += ".banner{" + banner + "}\n";
  const bool coloured = std::find(s.chkColor.begin(), s.chkColor.end(),
                                  kChecked) != s.chkColor.end();
  if (!coloured) out += kLightAndDark;
  out += "</style>\n";
}

void AppendAttribute(std::string& out, std::string_view name,
                     std::string_view value) {
  out += ' ';
  out += name;
  out += "=\"";
  AppendEscapedText(out, value);
  out += '"';
}

// The size and time after an entry.
void AppendFacts(std::string& out, const std::optional<FileFacts>& facts) {
  if (!facts) return;
  out += " <small>";
  AppendHumanSize(out, facts->size);
  if (const std::string_view time = LocalDateTime(facts->modified);
      !time.empty()) {
    out += ", ";
    out += time;
  }
  out += "</small>";
}

}  // namespace

ModernTemplate::ModernTemplate(const PageFormat& format) : format_(format) {}

void ModernTemplate::Head(std::string& out) const {
  const MapSettings& s = format_.settings;
  out +=
      "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" "
      "content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Tessary\">\n<title>";
  out += s.txtTitle;
  out += "</title>\n";
  WriteStyle(s, out);
  out += "</head>\n<body>\n";
  if (IsChecked(s.chkBannerImage)) {
    out += "<p class=\"banner\"><img";
    AppendAttribute(out, "src", s.txtBannerImage);
    out += " alt=\"\"></p>\n";
  }
  out += "<h1>" + s.txtTitle + "</h1>\n";
  if (!s.txtPreface.empty())
    out += "<div>" + TextToHtml(s.txtPreface) + "</div>\n";
  out +=
      "<p hidden><input type=\"search\" id=\"filter\" "
      "placeholder=\"Filter\" aria-label=\"Filter the list\"></p>\n"
      "<main>\n";
}

void ModernTemplate::SectionStart(const std::string& folder, bool hasFiles,
                                  std::string& out) const {
  const MapSettings& s = format_.settings;
  if (folder != format_.base && IsChecked(s.chkLines)) out += "<hr>\n";
  out += "<details open";
  const int level = IndentLevel(folder, format_.base);
  if (IsChecked(s.chkIndent) && level > 0) {
    out += " style=\"margin-left:" + std::to_string(level) + "em\"";
  }
  out += "><summary>";
  AppendShownName(out, IsRoot(folder) ? folder : LastName(folder), format_);
  out += "</summary>\n";
  if (hasFiles) out += "<ul>\n";
}

void ModernTemplate::Entries(const FolderEntries& folder, std::size_t from,
                             std::size_t to, const FileDetails& details,
                             std::string& out) const {
  EntryWriter writer(out, format_, folder.path, true);
  for (std::size_t i = from; i < to; ++i) {
    const std::size_t read = i - from;
    const std::string_view title =
        details.titles.empty() ? "" : std::string_view(details.titles[read]);
    out += "<li>";
    writer.Entry(folder.files[i], title, folder.webPages[i]);
    if (!details.facts.empty()) AppendFacts(out, details.facts[read]);
    out += "</li>\n";
  }
}

void ModernTemplate::SectionEnd(const std::string& /*folder*/, bool hasFiles,
                                std::string& out) const {
  if (hasFiles) out += "</ul>\n";
  out += "</details>\n";
}

void ModernTemplate::Tail(std::string& out) const {
  const MapSettings& s = format_.settings;
  out += "</main>\n";
  if (!s.txtAppendix.empty()) {
    out += "<div>" + TextToHtml(s.txtAppendix) + "</div>\n";
  }
  out += "<footer>";
  out += kFooterWords;
  out += "<a href=\"";
  out += kHomePage;
  out += "\">";
  out += kMakerName;
  out += "</a></footer>\n";
  out += kFilterScript;
  out += "</body>\n</html>\n";
}

}  // namespace mapgen
