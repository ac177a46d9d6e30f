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

StagedSitemap::~StagedSitemap() = default;

// The staged files go with their objects.
void StagedSitemap::Drop() {
  files_.clear();
  buffer_.clear();
  placedIn_.clear();
  failure_.reset();
}

Outcome<void> StagedSitemap::Start(const FileSystem& fs) {
  Drop();
  auto output = fs.OpenOutputFolder(folder_);
  if (!output) return std::move(output).failure();
  output_ = std::move(*output);
  folderId_ = fs.IdOf(folder_);
  return {};
}

void StagedSitemap::Begin() {
  if (failure_) return;
  auto staged = output_->CreateTemporary();
  if (!staged) {
    failure_ = std::move(staged).failure();
    return;
  }
  files_.push_back({std::move(*staged), {}});
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
  if (failure_) return;
  if (auto written = files_.back().staged->Write(bytes); !written) {
    failure_ = std::move(written).failure();
  }
}

void StagedSitemap::End(std::string_view name) {
  Flush();
  if (failure_) return;
  File& file = files_.back();
  file.name = name;
  // Moved into place here, the file keeps the mode of the one it replaces,
  // which can be given only while it is open; whatever else stands there
  // is replaced by a file with the mode of a new one.
  const auto old = output_->Inspect(file.name, false);
  auto finished = old && old->kind == Kind::kFile
                      ? file.staged->KeepOwnerAndMode(*old)
                      : Outcome<void>();
  if (finished) finished = file.staged->Finish();
  if (!finished) failure_ = std::move(finished).failure();
}

Outcome<void> StagedSitemap::Staged() const {
  if (failure_) return *failure_;
  return {};
}

std::vector<std::string> StagedSitemap::Names() const {
  std::vector<std::string> names;
  for (const File& file : files_) names.push_back(file.name);
  return names;
}

Outcome<void> StagedSitemap::Place(const FileSystem& fs,
                                   const std::string& folder) {
  if (auto staged = Staged(); !staged) return staged;
  const bool here = folderId_.has_value() && fs.IdOf(folder) == folderId_;
  for (File& file : files_) {
    if (here && file.staged != nullptr) {
      if (auto moved = Move(fs, file); !moved) return moved;
      continue;
    }
    const std::string source = file.staged != nullptr
                                   ? JoinPath(folder_, file.staged->Name())
                                   : JoinPath(placedIn_, file.name);
    const std::string target = JoinPath(folder, file.name);
    if (source == target) continue;
    if (auto copied = CopyMapFile(fs, source, target); !copied) return copied;
  }
  if (here) placedIn_ = folder_;
  return {};
}

// Renames the staged file over its name, unless a pipe or a device stands
// there, which is written to instead, as a page would be. What cannot be
// told about the name is left to the rename to find out.
Outcome<void> StagedSitemap::Move(const FileSystem& fs, File& file) {
  const std::string target = JoinPath(folder_, file.name);
  const auto leads = output_->Inspect(file.name, true);
  const Kind leadsTo = leads ? leads->kind : Kind::kNothing;
  if (leadsTo == Kind::kFolder) return SystemFailure(target, EISDIR);
  if (leadsTo == Kind::kOther) {
    return CopyMapFile(fs, JoinPath(folder_, file.staged->Name()), target);
  }
  const auto stands = output_->Inspect(file.name, false);
  auto moved = stands && stands->kind == Kind::kFile
                   ? output_->MayWrite(file.name)
                   : Outcome<void>();
  if (moved) moved = file.staged->Replace(file.name);
  if (!moved) {
    Failure failure = std::move(moved).failure();
    failure.path = target;
    return failure;
  }
  file.staged.reset();
  return {};
}

}  // namespace mapgen
