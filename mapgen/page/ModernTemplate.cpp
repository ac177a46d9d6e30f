#include "ModernTemplate.h"

#include "EntryWriter.h"
#include "Escaping.h"
#include "ModernPageFiles.h"
#include "ModernStyle.h"
#include "PageWords.h"
#include "Paths.h"
#include "SizeAndTime.h"
#include "TextToHtml.h"

namespace mapgen {
namespace {

// The filter box and its count, hidden until the script shows them: a
// page read without scripts has no box that does nothing.
constexpr std::string_view kFilterBox =
    "<p class=\"filter\" hidden><label for=\"filter\">Filter</label> "
    "<input type=\"search\" id=\"filter\" autocomplete=\"off\" "
    "spellcheck=\"false\"> <span id=\"found\" role=\"status\"></span></p>\n";

// A folder's files are listed in lists of this many, so that a browser
// lays out only those on screen of a folder of 100,000 files.
constexpr std::size_t kListLength = 256;

// Appends "1 file", "12 files", "48,673 files": the words the script's
// count uses too.
void AppendCount(std::string& out, std::size_t count, std::string_view one,
                 std::string_view many) {
  const std::string digits = std::to_string(count);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  out += ' ';
  out += count == 1 ? one : many;
}

// The size and time after an entry, the time also as the machine reads it.
void AppendFacts(std::string& out, const std::optional<FileFacts>& facts) {
  if (!facts) return;
  out += " <small>";
  AppendHumanSize(out, facts->size);
  if (const std::string_view time = LocalDateTime(facts->modified);
      !time.empty()) {
    out += ", <time datetime=\"";
    out += time;
    out += "\">";
    out += time;
    out += "</time>";
  }
  out += "</small>";
}

}  // namespace

ModernTemplate::ModernTemplate(const PageFormat& format)
    : format_(format), sections_(IsChecked(format.settings.chkShowEmpties)) {}

void ModernTemplate::Head(std::string& out) const {
  const MapSettings& s = format_.settings;
  out += "<!DOCTYPE html>\n<html lang=\"";
  AppendEscapedText(out, s.txtLang.empty() ? "en" : s.txtLang);
  out +=
      "\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" "
      "content=\"width=device-width, initial-scale=1\">\n"
      "<meta name=\"generator\" content=\"Tessary\">\n<title>";
  out += s.txtTitle;
  out += "</title>\n";
  AppendModernStyle(s, out);
  out += "</head>\n<body>\n<header>\n";
  if (IsChecked(s.chkBannerImage)) {
    out += "<p class=\"banner\"><img src=\"";
    AppendEscapedText(out, s.txtBannerImage);
    out += "\" alt=\"\"></p>\n";
  }
  out += "<h1>" + s.txtTitle + "</h1>\n";
  if (!s.txtPreface.empty()) {
    out += "<div>" + TextToHtml(s.txtPreface) + "</div>\n";
  }
  out += kFilterBox;
  out += "</header>\n<main>\n";
}

void ModernTemplate::SectionStart(const std::string& folder, std::size_t files,
                                  std::string& out) const {
  out += "<details";
  if (folder == format_.base) {
    out += " open id=\"tree\"";
  } else if (!IsChecked(format_.settings.chkCollapsed)) {
    out += " open";
  }
  out += "><summary>";
  AppendShownName(out, IsRoot(folder) ? folder : LastName(folder), format_);
  out += " <span class=\"count\">";
  AppendCount(out, files, "file", "files");
  out += "</span></summary>\n";
  if (files > 0) out += "<ul>\n";
}

void ModernTemplate::Entries(const FolderEntries& folder, std::size_t from,
                             std::size_t to, const FileDetails& details,
                             std::string& out) const {
  EntryWriter writer(out, format_, folder.path, true);
  for (std::size_t i = from; i < to; ++i) {
    const std::size_t read = i - from;
    const std::string_view title =
        details.titles.empty() ? "" : std::string_view(details.titles[read]);
    if (i > 0 && i % kListLength == 0) out += "</ul>\n<ul>\n";
    out += "<li>";
    writer.Entry(folder.files[i], title, folder.webPages[i]);
    if (!details.facts.empty()) AppendFacts(out, details.facts[read]);
    out += "</li>\n";
  }
}

// A section's </details> comes once the sections below it are written.
void ModernTemplate::SectionEnd(const std::string& /*folder*/,
                                std::size_t files, std::string& out) const {
  if (files > 0) out += "</ul>\n";
}

bool ModernTemplate::PlaceSection(const std::string& folder, std::size_t files,
                                  std::string_view section,
                                  std::string& before) {
  return sections_.Start(folder, files, section, before);
}

void ModernTemplate::Tail(std::size_t files, std::string& out) {
  const MapSettings& s = format_.settings;
  sections_.EndAll(out);
  if (!s.txtAppendix.empty()) {
    out += "<div>" + TextToHtml(s.txtAppendix) + "</div>\n";
  }
  out += "</main>\n<footer>\n<p>";
  AppendCount(out, files, "file", "files");
  out += " in ";
  AppendCount(out, sections_.Folders(), "folder", "folders");
  out += "</p>\n<p>";
  out += kFooterWords;
  out += kMakerName;
  out += "</p>\n</footer>\n<script>\n";
  out += kModernPageJs;
  out += "</script>\n</body>\n</html>\n";
}

}  // namespace mapgen
