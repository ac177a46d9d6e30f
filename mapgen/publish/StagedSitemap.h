#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "SitemapWriter.h"

namespace mapgen {

// The files of an XML sitemap, written while a build runs to hidden files
// in one folder, the staging folder, and put in place under their own
// names afterwards. The names are fixed by then ("sitemap.xml", or the
// parts "sitemap-1.xml" … and their index "sitemap.xml"), because the
// index names its parts; Place chooses only the folder. A caller that
// learns where the sitemap goes only after the build (the window, which
// builds before the user saves) keeps this object until then. The staged
// files go when it goes, or with a signal that ends the program.
//
// One thread at a time: the build's writer, then whoever places the files.
class StagedSitemap : public SitemapSink {
 public:
  explicit StagedSitemap(std::string folder);
  ~StagedSitemap() override;
  StagedSitemap(const StagedSitemap&) = delete;
  StagedSitemap& operator=(const StagedSitemap&) = delete;

  const std::string& Folder() const { return folder_; }

  // Opens the staging folder for a build, dropping what an earlier build
  // staged.
  Outcome<void> Start(const FileSystem& fs);

  void Begin() override;
  void Write(std::string_view chunk) override;
  void End(std::string_view name) override;

  // Whether every file was staged whole; otherwise the first failure.
  Outcome<void> Staged() const;

  // The files' names, the parts first and the index (or the only file)
  // last; none until a build has staged them.
  std::vector<std::string> Names() const;

  // Puts the files into `folder` under their names, the parts first and
  // the index last, each replacing what stands there as a page replaces
  // its path (see MapFileWriter). Into the staging folder they are moved;
  // anywhere else copied. Either way they can be placed again elsewhere.
  Outcome<void> Place(const FileSystem& fs, const std::string& folder);

 private:
  struct File {
    // The staged file, which goes with this object; null once moved into
    // place.
    std::unique_ptr<OutputFile> staged;
    std::string name;
  };

  Outcome<void> Move(const FileSystem& fs, File& file);
  void Flush();
  void WriteOut(std::string_view bytes);
  void Drop();

  std::string folder_;
  std::unique_ptr<OutputFolder> output_;
  std::optional<FileId> folderId_;
  std::vector<File> files_;
  std::string buffer_;              // of the file that began last
  std::string placedIn_;            // where moved files now are
  std::optional<Failure> failure_;  // the first, which ends the staging
};

}  // namespace mapgen
