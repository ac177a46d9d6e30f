#include "MapFileWriter.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>

#include "Paths.h"
#include "SystemReason.h"

namespace mapgen {
namespace {

using Kind = OutputEntry::Kind;

// The descriptor that /dev/stdout, /dev/stderr or /dev/fd/N names; -1 for
// any other path. These names are taken as the process's own descriptors,
// never looked up through /proc to the file behind them.
int DescriptorNamed(std::string_view path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  constexpr std::string_view kFdFolder = "/dev/fd/";
  if (!path.starts_with(kFdFolder)) return -1;
  path.remove_prefix(kFdFolder.size());
  int fd = -1;
  const auto [end, error] =
      std::from_chars(path.data(), path.data() + path.size(), fd);
  return error == std::errc() && end == path.data() + path.size() ? fd : -1;
}

// The failure of a path that ends in "/", "." or "..", which cannot take a
// page.
Failure FolderNameFailure(const FileSystem& fs, const std::string& path) {
  Failure failure;
  if (fs.OpenOutputFolder(path, failure) != nullptr) {
    return SystemFailure(path, EISDIR);
  }
  return failure;
}

}  // namespace

bool IsOwnDescriptor(std::string_view path) {
  return DescriptorNamed(path) >= 0;
}

std::unique_ptr<MapFileWriter> MapFileWriter::Open(const FileSystem& fs,
                                                   const std::string& path,
                                                   Failure& failure) {
  std::unique_ptr<MapFileWriter> writer(new MapFileWriter(path));
  if (writer->Prepare(fs, failure)) return writer;
  failure.path = path;
  return nullptr;
}

bool MapFileWriter::Prepare(const FileSystem& fs, Failure& failure) {
  if (const int own = DescriptorNamed(path_); own >= 0) {
    own_.emplace(own, path_);
    return true;
  }
  const std::string name(LastName(path_));
  if (name.empty() || name == "." || name == "..") {
    failure = FolderNameFailure(fs, path_);
    return false;
  }
  folder_ = fs.OpenOutputFolder(ParentFolder(path_), failure);
  if (folder_ == nullptr) return false;
  // Where the path leads decides between a stream and a new file; trouble
  // telling (a link loop) leaves the link to be replaced.
  OutputEntry target;
  Failure ignored;
  folder_->Inspect(name, true, target, ignored);
  if (target.kind == Kind::kFolder) {
    failure = SystemFailure(path_, EISDIR);
    return false;
  }
  if (target.kind == Kind::kOther) {
    file_ = folder_->OpenStream(name, failure);
    if (file_ != nullptr) return true;
    if (!failure.reason.empty()) return false;
  }
  return CreateReplacement(name, failure);
}

bool MapFileWriter::CreateReplacement(const std::string& name,
                                      Failure& failure) {
  OutputEntry page;
  Failure ignored;
  const bool isPage =
      folder_->Inspect(name, false, page, ignored) && page.kind == Kind::kFile;
  if (isPage && !folder_->MayWrite(name, failure)) return false;
  file_ = folder_->CreateTemporary(failure);
  if (file_ == nullptr) return false;
  replaced_ = name;
  return !isPage || file_->KeepOwnerAndMode(page, failure);
}

MapFileWriter::~MapFileWriter() {
  if (replaced_.empty() || file_ == nullptr) return;
  Failure ignored;
  folder_->Remove(file_->Name(), ignored);
}

bool MapFileWriter::Write(std::string_view bytes, Failure& failure) {
  const bool written =
      own_ ? own_->Write(bytes, failure) : file_->Write(bytes, failure);
  return written || Failed(failure);
}

bool MapFileWriter::Commit(Failure& failure) {
  if (own_) return true;
  if (!file_->Finish(failure)) return Failed(failure);
  if (!replaced_.empty() &&
      !folder_->Rename(file_->Name(), replaced_, failure)) {
    return Failed(failure);
  }
  file_.reset();
  return true;
}

// Names the path as the user gave it, with the system's reason.
bool MapFileWriter::Failed(Failure& failure) const {
  failure.path = path_;
  return false;
}

bool WriteMapFile(const FileSystem& fs, const std::string& path,
                  std::string_view text, Failure& failure) {
  const auto writer = MapFileWriter::Open(fs, path, failure);
  return writer != nullptr && writer->Write(text, failure) &&
         writer->Commit(failure);
}

bool CopyMapFile(const FileSystem& fs, const std::string& source,
                 const std::string& target, Failure& failure) {
  const auto reader = fs.OpenFile(source, failure);
  if (reader == nullptr) return false;
  const auto writer = MapFileWriter::Open(fs, target, failure);
  if (writer == nullptr) return false;
  std::array<char, 64 * 1024> buffer;
  while (true) {
    const long got = reader->Read(buffer.data(), buffer.size(), failure);
    if (got < 0) return false;
    if (got == 0) return writer->Commit(failure);
    const std::string_view piece(buffer.data(), static_cast<std::size_t>(got));
    if (!writer->Write(piece, failure)) return false;
  }
}

}  // namespace mapgen
