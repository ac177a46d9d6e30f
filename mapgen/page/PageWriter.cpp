#include "PageWriter.h"

#include "ModernPage.h"
#include "Paths.h"
#include "TextCase.h"
#include "TextToHtml.h"

namespace mapgen {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr const char* kBodyColourAttributes[] = {"bgcolor", "text", "link",
                                                 "vlink"};

bool SetsSize(const std::string& size) { return UpperCase(size) != "NORMAL"; }

bool SetsFont(const MapSettings& settings) {
  return settings.cmbFont != "default";
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  out += text;
  out += '"';
}

void AppendColour(std::string& out, Colour colour) {
  out += "\"#";
  out += ColorToHex(colour);
  out += '"';
}

void AppendRepeated(std::string& out, std::string_view text, int times) {
  for (int i = 0; i < times; ++i) out += text;
}

void WriteBodyTag(const MapSettings& s, std::string& out) {
  out += "<body";
  for (int i = 0; i < 4; ++i) {
    if (!IsChecked(s.chkColor[i])) continue;
    out += ' ';
    out += kBodyColourAttributes[i];
    out += '=';
    AppendColour(out, s.shpColor[i]);
  }
  if (IsChecked(s.chkBgImage)) {
    out += " background=";
    AppendQuoted(out, s.txtImage);
  }
  out += '>';
  out += kCrLf;
}

void WriteTitleSection(const MapSettings& s, std::string& out) {
  if (IsChecked(s.chkBannerImage)) {
    out += "<p align=";
    AppendQuoted(out, s.cmbBannerAlign);
    out += "><img SRC=";
    AppendQuoted(out, s.txtBannerImage);
    out += "><br></p><br>";
    out += kCrLf;
  }
  if (SetsFont(s)) {
    out += "<FONT FACE= ";
    AppendQuoted(out, s.cmbFont);
    out += '>';
  }
  out += "<b><p align=";
  AppendQuoted(out, s.cmbTitleAlign);
  out += '>';
  if (SetsSize(s.cmbSize[1])) out += "<font size=" + s.cmbSize[1] + ">";
  if (IsChecked(s.chkColor[4])) {
    out += "<font color=";
    AppendColour(out, s.shpColor[4]);
    out += '>';
  }
  out += s.txtTitle;
  out += "</b><p>";
  if (SetsSize(s.cmbSize[1])) out += "</font>";
  if (IsChecked(s.chkColor[4])) {
    out += "</font>";
    out += kCrLf;
  }
  out += "</p>";
  out += kCrLf;
}

void WriteHeading(const PageFormat& format, std::string_view folder,
                  std::string& out) {
  const MapSettings& s = format.settings;
  out += "<p><p>";
  if (IsChecked(s.chkLines)) {
    out += "<p><hr WIDTH=100%>";
    out += kCrLf;
  }
  if (SetsSize(s.cmbSize[2])) out += "<font size=" + s.cmbSize[2] + ">";
  if (IsChecked(s.chkColor[5])) {
    out += "<font color=";
    AppendColour(out, s.shpColor[5]);
    out += '>';
  }
  out += "<b>";
  AppendShownName(out, LastName(folder), format);
  out += "</b>";
  if (SetsSize(s.cmbSize[2])) out += "</font>";
  if (IsChecked(s.chkColor[5])) {
    out += "</font>";
    out += kCrLf;
  }
  out += "<br><br>";
  out += kCrLf;
}

}  // namespace

int CountCharacters(std::string_view str, std::string_view ch) {
  if (str.empty()) return 0;
  int count = 0;
  std::size_t from = 1;
  for (std::size_t round = 0; round < str.size(); ++round) {
    const std::size_t found = str.find(ch, from);
    if (found == std::string_view::npos) break;
    ++count;
    from = found + 1;
  }
  return count;
}

int IndentLevel(std::string_view folder, std::string_view base) {
  const std::string_view below = RelativeFolder(folder, base);
  // The first character of `below` is a name's, never "/", so every
  // separator in it counts.
  return below.empty() ? 0 : 1 + CountCharacters(below, "/");
}

void WritePageHead(const PageFormat& format, std::string& out) {
  if (format.modern) return WriteModernHead(format, out);
  const MapSettings& s = format.settings;
  out = "<html>\r\n<head>\r\n";
  if (format.utf8) out += "<meta charset=\"utf-8\">\r\n";
  out += "   <!html document auto-created by 'Tessary' by Corvale Software>";
  out += kCrLf;
  out += "   <title>" + s.txtTitle + "</title>";
  out += kCrLf;
  out += "</head>";
  out += kCrLf;
  WriteBodyTag(s, out);
  WriteTitleSection(s, out);
  if (!s.txtPreface.empty()) {
    out += TextToHtml(s.txtPreface);
    out += "<br><br>";
    out += kCrLf;
  }
}

bool ShowsSection(const MapSettings& s, std::size_t files) {
  return files > 0 || IsChecked(s.chkShowEmpties);
}

void WriteSectionStart(const PageFormat& format, const std::string& folder,
                       bool hasFiles, std::string& out) {
  if (format.modern) {
    return WriteModernSectionStart(format, folder, hasFiles, out);
  }
  if (IsChecked(format.settings.chkIndent)) {
    AppendRepeated(out, "<UL>", IndentLevel(folder, format.base));
  }
  if (folder != format.base) WriteHeading(format, folder, out);
  if (hasFiles) out += EntriesStart(format);
}

void WriteSectionEnd(const PageFormat& format, const std::string& folder,
                     bool hasFiles, std::string& out) {
  if (format.modern) return WriteModernSectionEnd(format, hasFiles, out);
  if (hasFiles) out += EntriesEnd(format);
  if (IsChecked(format.settings.chkIndent)) {
    AppendRepeated(out, "</UL>", IndentLevel(folder, format.base));
  }
}

void WriteFolderSection(const PageFormat& format, const FolderEntries& entries,
                        std::string& out) {
  const std::size_t files = entries.files.size();
  if (!ShowsSection(format.settings, files)) return;
  WriteSectionStart(format, entries.path, files > 0, out);
  RenderEntries(entries, 0, files, entries.details, format, out);
  WriteSectionEnd(format, entries.path, files > 0, out);
}

void WritePageTail(const PageFormat& format, std::string& out) {
  if (format.modern) return WriteModernTail(format, out);
  const MapSettings& s = format.settings;
  if (!s.txtAppendix.empty()) {
    out += "<br><br>";
    out += TextToHtml(s.txtAppendix);
  }
  if (SetsFont(s)) out += "</FONT>";
  out += "<br><br><br><br>";
  out += "<FONT FACE=\"Arial,Helvetica,Geneva\" size=-2>";
  out += "<hr WIDTH=100%>";
  out += kCrLf;
  out += kFooterWords;
  out += "<a href=";
  out += kHomePage;
  out += ">Corvale Software</a></font></p>";
  out += kCrLf;
  out += "</body>\r\n</html>\r\n";
}

}  // namespace mapgen
