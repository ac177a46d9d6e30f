#include "OutputSet.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "Paths.h"

namespace mapgen {
namespace {

using Kind = OutputEntry::Kind;

// The mode of a new file before the umask, as a shell's ">" gives it.
constexpr std::uint32_t kNewFileMode = 0666;

Failure Named(Failure failure, std::string path) {
  failure.path = std::move(path);
  return failure;
}

bool IsFolderName(std::string_view name) {
  return name.empty() || name == "." || name == "..";
}

}  // namespace

// One file of the set: a descriptor or a stream written as it goes, or a
// hidden file that takes `name` in its output's folder at Commit.
class OutputSet::File : public PageSink {
 public:
  File(std::string path, std::unique_ptr<OutputFile> file)
      : path(std::move(path)), file(std::move(file)) {}
  File(std::string shown, int fd)
      : path(std::move(shown)), descriptor(std::in_place, fd, path) {}

  Outcome<void> Write(std::string_view bytes) override {
    auto written = descriptor ? descriptor->Write(bytes) : file->Write(bytes);
    if (!written) return Named(std::move(written).failure(), path);
    return {};
  }

  Outcome<void> Finish() {
    if (file == nullptr) return {};
    auto finished = file->Finish();
    if (!finished) return Named(std::move(finished).failure(), path);
    return {};
  }

  std::string path;  // what failures name, as the user knows it
  std::string name;  // the name it takes; empty for a stream
  std::unique_ptr<OutputFile> file;
  std::optional<DescriptorSink> descriptor;
};

struct OutputSet::Output {
  std::string what;
  OutputTarget target;
  std::function<bool(std::string_view)> isPiece;
  std::unique_ptr<OutputFolder> folder;  // for a path, once checked
  std::string name;                      // its last name
  Kind kind = Kind::kNothing;            // what stands at it, once checked
  std::vector<std::unique_ptr<File>> beside;
  std::unique_ptr<File> own;

  bool IsDescriptor() const { return target.descriptor.has_value(); }
};

OutputTarget OutputTarget::Below(const std::string& within,
                                 const std::string& below) {
  OutputTarget target(JoinPath(within, below));
  target.within = within;
  target.below = below;
  return target;
}

OutputSet::OutputSet(const FileSystem& fs) : fs_(fs) {}

OutputSet::~OutputSet() = default;

std::size_t OutputSet::Add(std::string what, OutputTarget target) {
  auto output = std::make_unique<Output>();
  output->what = std::move(what);
  output->target = std::move(target);
  outputs_.push_back(std::move(output));
  return outputs_.size() - 1;
}

void OutputSet::AddPieces(std::size_t output,
                          std::function<bool(std::string_view)> isPiece) {
  outputs_[output]->isPiece = std::move(isPiece);
}

Outcome<void> OutputSet::Check() {
  for (std::size_t i = 0; i < outputs_.size(); ++i) {
    Output& output = *outputs_[i];
    if (!output.IsDescriptor()) {
      if (auto inspected = Inspect(output); !inspected) return inspected;
    }
    if (auto same = SameFile(i)) return *std::move(same);
  }
  return {};
}

// Opens the output's folder and looks at what stands at its name.
Outcome<void> OutputSet::Inspect(Output& output) {
  const std::string& path = output.target.path;
  output.name = LastName(path);
  if (IsFolderName(output.name)) {
    auto folder = fs_.OpenOutputFolder(path);
    if (folder) return SystemFailure(path, EISDIR);
    return std::move(folder).failure();
  }
  const std::string& within = output.target.within;
  auto folder = within.empty() ? fs_.OpenOutputFolder(ParentFolder(path))
                               : fs_.OpenOutputFolderBelow(
                                     within, ParentFolder(output.target.below));
  if (!folder) return Named(std::move(folder).failure(), path);
  output.folder = std::move(*folder);
  auto standing = CheckName(output, output.name);
  if (!standing) return std::move(standing).failure();
  output.kind = standing->kind;
  return {};
}

// What stands at `name` in the output's folder, where a file of the output
// may be written: none where a folder or a block device stands, or a file
// the user may not write; and a new file only where the folder may be
// written.
Outcome<OutputEntry> OutputSet::CheckName(const Output& output,
                                          const std::string& name) const {
  const OutputFolder& folder = *output.folder;
  const std::string path =
      name == output.name ? output.target.path
                          : JoinPath(ParentFolder(output.target.path), name);
  auto standing = folder.Inspect(name, false);
  if (!standing) return Named(std::move(standing).failure(), path);
  switch (standing->kind) {
    case Kind::kFolder:
      return SystemFailure(path, EISDIR);
    case Kind::kBlockDevice:
      return Failure(path, "Is a block device");
    case Kind::kStream:
      return *standing;
    case Kind::kFile:
      if (auto may = folder.MayWrite(name); !may) {
        return Named(std::move(may).failure(), path);
      }
      break;
    case Kind::kNothing:
    case Kind::kOther:
      break;
  }
  if (auto may = folder.MayWrite("."); !may) {
    const Failure& failure = may.failure();
    return Failure(
        path,
        "cannot create a file in " + folder.Path() + ": " + failure.reason,
        failure.error);
  }
  return *standing;
}

// Whether the output `later` is one file with an output added before it,
// or could be one with a piece of it, or it with one of theirs.
std::optional<Failure> OutputSet::SameFile(std::size_t later) const {
  const Output& b = *outputs_[later];
  const auto sameFolder = [&](const Output& a) {
    return a.folder != nullptr && b.folder != nullptr &&
           a.folder->Id() == b.folder->Id();
  };
  const auto clash = [](const std::string& reason, const std::string& path) {
    return Failure(path, reason, std::make_error_code(std::errc::file_exists));
  };
  for (std::size_t i = 0; i < later; ++i) {
    const Output& a = *outputs_[i];
    const bool bothDescriptors = a.IsDescriptor() && b.IsDescriptor() &&
                                 *a.target.descriptor == *b.target.descriptor;
    if (bothDescriptors || (sameFolder(a) && a.name == b.name)) {
      return clash("the " + a.what + " and the " + b.what + " are one file",
                   b.target.path);
    }
    if (sameFolder(a) && a.isPiece && a.isPiece(b.name)) {
      return clash("the " + b.what + " and a piece of the " + a.what +
                       " may be one file",
                   b.target.path);
    }
    if (sameFolder(a) && b.isPiece && b.isPiece(a.name)) {
      return clash("the " + a.what + " and a piece of the " + b.what +
                       " may be one file",
                   a.target.path);
    }
  }
  return std::nullopt;
}

bool OutputSet::IsStream(std::size_t output) const {
  const Output& checked = *outputs_[output];
  return checked.IsDescriptor() || checked.kind == Kind::kStream;
}

Outcome<PageSink*> OutputSet::Open(std::size_t index) {
  Output& output = *outputs_[index];
  const std::string& path = output.target.path;
  if (output.IsDescriptor()) {
    output.own = std::make_unique<File>(path, *output.target.descriptor);
    return output.own.get();
  }
  // What stands there now, which may have changed since the check.
  auto standing = output.folder->Inspect(output.name, false);
  if (!standing) return Named(std::move(standing).failure(), path);
  output.kind = standing->kind;
  if (standing->kind == Kind::kStream) {
    auto stream = output.folder->OpenStream(output.name);
    if (!stream) return Named(std::move(stream).failure(), path);
    if (*stream != nullptr) {
      output.own = std::make_unique<File>(path, std::move(*stream));
      return output.own.get();
    }
  }
  const bool replacesFile = standing->kind == Kind::kFile;
  auto staged =
      Stage(output, replacesFile ? standing->mode : kNewFileMode, path);
  if (!staged) return std::move(staged).failure();
  if (replacesFile) {
    if (auto kept = (*staged)->file->KeepOwnerAndMode(*standing); !kept) {
      return Named(std::move(kept).failure(), path);
    }
  }
  output.own = std::move(*staged);
  output.own->name = output.name;
  return output.own.get();
}

Outcome<PageSink*> OutputSet::OpenBeside(
    std::size_t index, const std::vector<std::string>& names) {
  Output& output = *outputs_[index];
  std::uint32_t mode = kNewFileMode;
  for (const std::string& name : names) {
    const auto standing = output.folder->Inspect(name, false);
    if (standing && standing->kind == Kind::kFile) mode &= standing->mode;
  }
  auto staged = Stage(output, mode, output.target.path);
  if (!staged) return std::move(staged).failure();
  output.beside.push_back(std::move(*staged));
  return output.beside.back().get();
}

Outcome<void> OutputSet::Name(const PageSink* file, std::string name) {
  for (const auto& output : outputs_) {
    for (const auto& beside : output->beside) {
      if (beside.get() != file) continue;
      beside->path = JoinPath(ParentFolder(output->target.path), name);
      beside->name = std::move(name);
      // The file it replaces gives it its exact mode and owner, while it
      // can still be given them; a new name, the mode of a new file.
      const auto standing = output->folder->Inspect(beside->name, false);
      auto kept = standing && standing->kind == Kind::kFile
                      ? beside->file->KeepOwnerAndMode(*standing)
                      : beside->file->TakeNewFileMode();
      if (!kept) return Named(std::move(kept).failure(), beside->path);
      return {};
    }
  }
  return {};
}

// A new hidden file in the output's folder with the permission bits
// `mode`, whose failures name `path`.
Outcome<std::unique_ptr<OutputSet::File>> OutputSet::Stage(Output& output,
                                                           std::uint32_t mode,
                                                           std::string path) {
  auto created = output.folder->CreateTemporary(mode);
  if (!created) return Named(std::move(created).failure(), path);
  return std::make_unique<File>(std::move(path), std::move(*created));
}

Outcome<void> OutputSet::Finish() {
  for (const auto& output : outputs_) {
    for (const auto& file : output->beside) {
      if (auto finished = file->Finish(); !finished) return finished;
    }
    if (output->own != nullptr) {
      if (auto finished = output->own->Finish(); !finished) return finished;
    }
  }
  return {};
}

Outcome<void> OutputSet::Commit() {
  if (auto finished = Finish(); !finished) return finished;
  // The files that take a name, in the order they take it.
  std::vector<std::pair<const Output*, File*>> placed;
  for (const auto& output : outputs_) {
    for (const auto& file : output->beside) {
      if (!file->name.empty()) placed.emplace_back(output.get(), file.get());
    }
    if (output->own != nullptr && output->own->file != nullptr &&
        !output->own->name.empty()) {
      placed.emplace_back(output.get(), output->own.get());
    }
  }
  // Each name once more, since it may have changed while the files were
  // written: nothing is replaced unless everything can be.
  for (const auto& [output, file] : placed) {
    if (auto may = CheckName(*output, file->name); !may) {
      return std::move(may).failure();
    }
  }
  std::string replaced;
  for (const auto& [output, file] : placed) {
    auto renamed = file->file->Replace(file->name);
    if (!renamed) {
      Failure failure = Named(std::move(renamed).failure(), file->path);
      if (!replaced.empty()) {
        failure.reason += " (already replaced: " + replaced + ")";
      }
      return failure;
    }
    replaced += (replaced.empty() ? "" : ", ") + file->path;
  }
  return {};
}

Outcome<void> OutputSet::RemoveBeside(std::size_t index,
                                      const std::string& name) {
  const Output& output = *outputs_[index];
  const std::string path = JoinPath(ParentFolder(output.target.path), name);
  if (output.folder == nullptr || !output.isPiece || !output.isPiece(name)) {
    return Failure(path, "not a piece of the " + output.what);
  }
  auto removed = output.folder->Remove(name);
  if (!removed) return Named(std::move(removed).failure(), path);
  return {};
}

}  // namespace mapgen
