#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "OutputSet.h"
#include "SitemapWriter.h"

namespace mapgen {

// The files of an XML sitemap, written while a build runs to hidden files
// in one folder, the staging folder, and put in place under their own
// names afterwards. The names are fixed by then ("sitemap.xml", or the
// parts "sitemap-1.xml" … and their index "sitemap.xml"), because the
// index names its parts; placing them chooses only the folder. A caller
// that learns where the sitemap goes only after the build (the window,
// which builds before the user saves) keeps this object until then. The
// staged files go when it goes, or with a signal that ends the program.
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

  // Adds the files, under their names in `folder`, to `set` as its
  // outputs, the parts first and the index last; gives their numbers, for
  // Fill once the set is checked.
  std::vector<std::size_t> AddTo(OutputSet& set,
                                 const std::string& folder) const;
  // Copies the staged files into the outputs AddTo made of them.
  Outcome<void> Fill(OutputSet& set, const std::vector<std::size_t>& outputs,
                     const FileSystem& fs) const;

  // Puts copies of the files into `folder` under their names, as one set
  // (see OutputSet). They can be placed again elsewhere.
  Outcome<void> Place(const FileSystem& fs, const std::string& folder) const;

 private:
  struct File {
    std::unique_ptr<OutputFile> staged;  // goes with this object
    std::string name;
  };

  void Flush();
  void WriteOut(std::string_view bytes);
  void Drop();

  std::string folder_;
  std::unique_ptr<OutputFolder> output_;
  std::vector<File> files_;
  std::string buffer_;              // of the file that began last
  std::optional<Failure> failure_;  // the first, which ends the staging
};

}  // namespace mapgen
