#include "StagedSitemap.h"

#include <cerrno>

#include "MapFileWriter.h"
#include "Paths.h"

namespace mapgen {

using Kind = OutputEntry::Kind;

// The sitemap comes one <url> at a time; it is written in pieces of this
// size.
constexpr std::size_t kWriteSize = 64 * 1024;

StagedSitemap::StagedSitemap(std::string folder) : folder_(std::move(folder)) {}

StagedSitemap::~StagedSitemap() { Drop(); }

void StagedSitemap::Drop() {
  for (File& file : files_) {
    Failure ignored;
    if (file.staged != nullptr) output_->Remove(file.staged->Name(), ignored);
  }
  files_.clear();
  buffer_.clear();
  placedIn_.clear();
  failure_ = {};
  failed_ = false;
}

bool StagedSitemap::Start(const FileSystem& fs, Failure& failure) {
  Drop();
  output_ = fs.OpenOutputFolder(folder_, failure);
  folderId_ = fs.IdOf(folder_);
  return output_ != nullptr;
}

void StagedSitemap::Begin() {
  if (failed_) return;
  std::unique_ptr<OutputFile> staged = output_->CreateTemporary(failure_);
  failed_ = staged == nullptr;
  if (!failed_) files_.push_back({std::move(staged), {}});
}

void StagedSitemap::Write(std::string_view chunk) {
  // A chunk as large as a piece goes out as it is rather than through the
  // buffer.
  if (buffer_.empty() && chunk.size() >= kWriteSize / 2) {
    WriteOut(chunk);
    return;
  }
  buffer_ += chunk;
  if (buffer_.size() >= kWriteSize) Flush();
}

void StagedSitemap::Flush() {
  WriteOut(buffer_);
  buffer_.clear();
}

void StagedSitemap::WriteOut(std::string_view bytes) {
  if (!failed_) failed_ = !files_.back().staged->Write(bytes, failure_);
}

void StagedSitemap::End(std::string_view name) {
  Flush();
  if (failed_) return;
  File& file = files_.back();
  file.name = name;
  // Moved into place here, the file keeps the mode of the one it replaces,
  // which can be given only while it is open.
  OutputEntry old;
  Failure ignored;
  if (output_->Inspect(file.name, false, old, ignored) &&
      old.kind == Kind::kFile &&
      !file.staged->KeepOwnerAndMode(old, failure_)) {
    failed_ = true;
    return;
  }
  failed_ = !file.staged->Finish(failure_);
}

bool StagedSitemap::Staged(Failure& failure) const {
  if (failed_) failure = failure_;
  return !failed_;
}

std::vector<std::string> StagedSitemap::Names() const {
  std::vector<std::string> names;
  for (const File& file : files_) names.push_back(file.name);
  return names;
}

bool StagedSitemap::Place(const FileSystem& fs, const std::string& folder,
                          Failure& failure) {
  if (!Staged(failure)) return false;
  const bool here = folderId_.has_value() && fs.IdOf(folder) == folderId_;
  for (File& file : files_) {
    if (here && file.staged != nullptr) {
      if (!Move(fs, file, failure)) return false;
      continue;
    }
    const std::string source = file.staged != nullptr
                                   ? JoinPath(folder_, file.staged->Name())
                                   : JoinPath(placedIn_, file.name);
    const std::string target = JoinPath(folder, file.name);
    if (source != target && !CopyMapFile(fs, source, target, failure)) {
      return false;
    }
  }
  if (here) placedIn_ = folder_;
  return true;
}

// Renames the staged file over its name, unless a pipe or a device stands
// there, which is written to instead, as a page would be.
bool StagedSitemap::Move(const FileSystem& fs, File& file, Failure& failure) {
  const std::string target = JoinPath(folder_, file.name);
  OutputEntry leads;
  OutputEntry stands;
  Failure ignored;
  output_->Inspect(file.name, true, leads, ignored);
  if (leads.kind == Kind::kFolder) {
    failure = SystemFailure(target, EISDIR);
    return false;
  }
  if (leads.kind == Kind::kOther) {
    return CopyMapFile(fs, JoinPath(folder_, file.staged->Name()), target,
                       failure);
  }
  const bool replaces = output_->Inspect(file.name, false, stands, ignored) &&
                        stands.kind == Kind::kFile;
  if ((replaces && !output_->MayWrite(file.name, failure)) ||
      !output_->Rename(file.staged->Name(), file.name, failure)) {
    failure.path = target;
    return false;
  }
  file.staged.reset();
  return true;
}

}  // namespace mapgen
