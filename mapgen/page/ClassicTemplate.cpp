#include "ClassicTemplate.h"

#include "EntryWriter.h"
#include "PageWords.h"
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

std::string_view EntriesStart(const MapSettings& s) {
  return IsChecked(s.chkBullets) ? "<UL>" : "";
}

std::string_view EntriesEnd(const MapSettings& s) {
  return IsChecked(s.chkBullets) ? "</UL>" : "";
}

}  // namespace

ClassicTemplate::ClassicTemplate(const PageFormat& format) : format_(format) {}

void ClassicTemplate::Head(std::string& out) const {
  const MapSettings& s = format_.settings;
  out += "<html>\r\n<head>\r\n";
  if (format_.utf8) out += "<meta charset=\"utf-8\">\r\n";
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

void ClassicTemplate::SectionStart(const std::string& folder, std::size_t files,
                                   std::string& out) const {
  if (IsChecked(format_.settings.chkIndent)) {
    AppendRepeated(out, "<UL>", IndentLevel(folder, format_.base));
  }
  if (folder != format_.base) WriteHeading(format_, folder, out);
  if (files > 0) out += EntriesStart(format_.settings);
}

void ClassicTemplate::Entries(const FolderEntries& folder, std::size_t from,
                              std::size_t to, const FileDetails& details,
                              std::string& out) const {
  const bool bullets = IsChecked(format_.settings.chkBullets);
  EntryWriter writer(out, format_, folder.path, false);
  for (std::size_t i = from; i < to; ++i) {
    const std::string_view title =
        details.titles.empty() ? ""
                               : std::string_view(details.titles[i - from]);
    if (bullets) out += "<LI>";
    writer.Entry(folder.files[i], title, folder.webPages[i]);
    out += "<br>\r\n";
  }
}

void ClassicTemplate::SectionEnd(const std::string& folder, std::size_t files,
                                 std::string& out) const {
  if (files > 0) out += EntriesEnd(format_.settings);
  if (IsChecked(format_.settings.chkIndent)) {
    AppendRepeated(out, "</UL>", IndentLevel(folder, format_.base));
  }
}

void ClassicTemplate::Tail(std::size_t /*files*/, std::string& out) {
  const MapSettings& s = format_.settings;
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
  out += ">";
  out += kMakerName;
  out += "</a></font></p>";
  out += kCrLf;
  out += "</body>\r\n</html>\r\n";
}

}  // namespace mapgen
