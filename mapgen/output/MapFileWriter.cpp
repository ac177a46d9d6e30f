#include "MapFileWriter.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>

#include "Paths.h"

namespace mapgen {
namespace {

using Kind = OutputEntry::Kind;

// The descriptor that /dev/stdout, /dev/stderr or /dev/fd/N names; nothing
// for any other path. These names are taken as the process's own
// descriptors, never looked up through /proc to the file behind them.
std::optional<int> DescriptorNamed(std::string_view path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  constexpr std::string_view kFdFolder = "/dev/fd/";
  if (!path.starts_with(kFdFolder)) return std::nullopt;
  path.remove_prefix(kFdFolder.size());
  int fd = -1;
  const auto [end, error] =
      std::from_chars(path.data(), path.data() + path.size(), fd);
  if (error != std::errc() || end != path.data() + path.size() || fd < 0) {
    return std::nullopt;
  }
  return fd;
}

// The failure of a path that ends in "/", "." or "..", which cannot take a
// page.
Failure FolderNameFailure(const FileSystem& fs, const std::string& path) {
  auto folder = fs.OpenOutputFolder(path);
  if (folder) return SystemFailure(path, EISDIR);
  return std::move(folder).failure();
}

}  // namespace

bool IsOwnDescriptor(std::string_view path) {
  return DescriptorNamed(path).has_value();
}

Outcome<std::unique_ptr<MapFileWriter>> MapFileWriter::Open(
    const FileSystem& fs, const std::string& path) {
  std::unique_ptr<MapFileWriter> writer(new MapFileWriter(path));
  if (auto prepared = writer->Prepare(fs); !prepared) {
    return writer->Named(std::move(prepared).failure());
  }
  return writer;
}

Outcome<void> MapFileWriter::Prepare(const FileSystem& fs) {
  if (const auto own = DescriptorNamed(path_)) {
    own_.emplace(*own, path_);
    return {};
  }
  const std::string name(LastName(path_));
  if (name.empty() || name == "." || name == "..") {
    return FolderNameFailure(fs, path_);
  }
  auto folder = fs.OpenOutputFolder(ParentFolder(path_));
  if (!folder) return std::move(folder).failure();
  folder_ = std::move(*folder);
  // Where the path leads decides between a stream and a new file; trouble
  // telling (a link loop) leaves the link to be replaced.
  const auto target = folder_->Inspect(name, true);
  const Kind leadsTo = target ? target->kind : Kind::kNothing;
  if (leadsTo == Kind::kFolder) return SystemFailure(path_, EISDIR);
  if (leadsTo == Kind::kOther) {
    auto stream = folder_->OpenStream(name);
    if (!stream) return std::move(stream).failure();
    file_ = std::move(*stream);
    if (file_ != nullptr) return {};
  }
  return CreateReplacement(name);
}

// Only a file standing at the name is a page whose mode the new one keeps;
// whatever else stands there (a link, or what cannot be told) is replaced
// by a page with the mode of a new file.
Outcome<void> MapFileWriter::CreateReplacement(const std::string& name) {
  const auto standing = folder_->Inspect(name, false);
  const bool isPage = standing && standing->kind == Kind::kFile;
  if (isPage) {
    if (auto mayWrite = folder_->MayWrite(name); !mayWrite) return mayWrite;
  }
  auto created = folder_->CreateTemporary();
  if (!created) return std::move(created).failure();
  file_ = std::move(*created);
  replaced_ = name;
  if (isPage) return file_->KeepOwnerAndMode(*standing);
  return {};
}

Outcome<void> MapFileWriter::Write(std::string_view bytes) {
  auto written = own_ ? own_->Write(bytes) : file_->Write(bytes);
  if (!written) return Named(std::move(written).failure());
  return {};
}

Outcome<void> MapFileWriter::Commit() {
  if (own_) return {};
  if (auto finished = file_->Finish(); !finished) {
    return Named(std::move(finished).failure());
  }
  if (!replaced_.empty()) {
    if (auto placed = file_->Replace(replaced_); !placed) {
      return Named(std::move(placed).failure());
    }
  }
  file_.reset();
  return {};
}

// Names the path as the user gave it, with the system's reason.
Failure MapFileWriter::Named(Failure failure) const {
  failure.path = path_;
  return failure;
}

Outcome<void> WriteMapFile(const FileSystem& fs, const std::string& path,
                           std::string_view text) {
  auto writer = MapFileWriter::Open(fs, path);
  if (!writer) return std::move(writer).failure();
  if (auto written = (*writer)->Write(text); !written) return written;
  return (*writer)->Commit();
}

Outcome<void> CopyMapFile(const FileSystem& fs, const std::string& source,
                          const std::string& target) {
  auto reader = fs.OpenFile(source);
  if (!reader) return std::move(reader).failure();
  auto writer = MapFileWriter::Open(fs, target);
  if (!writer) return std::move(writer).failure();
  std::array<char, 64 * 1024> buffer;
  while (true) {
    const auto got = (*reader)->Read(buffer.data(), buffer.size());
    if (!got) return got.failure();
    if (*got == 0) return (*writer)->Commit();
    if (auto written = (*writer)->Write({buffer.data(), *got}); !written) {
      return written;
    }
  }
}

}  // namespace mapgen
