#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "FolderEntries.h"
#include "PageFormat.h"

namespace mapgen {

// One way of laying out the page. A page is its head; then, for every
// folder that has a section, the section's start, its entries in one or
// more runs, and its end; then its tail. Each part is appended to `out`.
// The classic and the modern template are the two; ChooseTemplate picks
// one for a build, and nothing else asks which it is.
//
// The const parts are written ahead on helper threads, folder by folder;
// PlaceSection and Tail are called by the one thread that writes the page,
// in page order, and may keep what the page needs across sections.
class PageTemplate {
 public:
  virtual ~PageTemplate() = default;

  // From the start of the page through the preface.
  virtual void Head(std::string& out) const = 0;

  // The start and the end of the section of `folder`, which lists `files`
  // files; when it lists any they frame its entries.
  virtual void SectionStart(const std::string& folder, std::size_t files,
                            std::string& out) const = 0;
  virtual void SectionEnd(const std::string& folder, std::size_t files,
                          std::string& out) const = 0;

  // The entries [from, to) of `folder`, with `details` read of those files
  // (the first of them at `from`).
  virtual void Entries(const FolderEntries& folder, std::size_t from,
                       std::size_t to, const FileDetails& details,
                       std::string& out) const = 0;

  // Whether each folder's section holds those of its subfolders: then
  // every folder has a section, the folders come in tree order (each
  // followed by all below it), and PlaceSection decides what shows.
  virtual bool NestsSections() const { return false; }

  // Appends what comes on the page before the first part of `folder`'s
  // section, `section` (its start, and entries when it lists any of its
  // `files`), and says whether that part comes next; a template that does
  // not show it now keeps a copy of what it needs.
  virtual bool PlaceSection(const std::string& /*folder*/,
                            std::size_t /*files*/, std::string_view /*section*/,
                            std::string& /*before*/) {
    return true;
  }

  // The appendix, the footer and the end of the page, which lists `files`
  // files in all.
  virtual void Tail(std::size_t files, std::string& out) = 0;

  // Whether entries show the size and time of their file, which then must
  // be asked for.
  virtual bool ShowsSizesAndTimes() const { return false; }
};

// The template that cmbTemplate names, writing as `format` says; `format`
// outlives it.
std::unique_ptr<PageTemplate> ChooseTemplate(const PageFormat& format);

// Appends one run of the section of `folder` in `page`'s layout: the
// section's start when the run is the first (`from` is 0), the entries
// [from, to) with `details` read of them, and the section's end when the
// run is the last (`to` is the folder's count). A folder that lists no
// file has no section, unless empty folders are shown.
void WriteSectionRun(const PageTemplate& page, const MapSettings& settings,
                     const FolderEntries& folder, std::size_t from,
                     std::size_t to, const FileDetails& details,
                     std::string& out);

}  // namespace mapgen
