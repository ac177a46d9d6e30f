#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "Outcome.h"

namespace mapgen {

// Tells a file or folder apart from every other one on the machine for as
// long as it exists, whatever its name.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileId&) const = default;
};

// What tells a file apart from the file it was when last looked at, short
// of reading it: the status data that version control keeps for that.
struct FileStamp {
  std::int64_t modifiedSeconds = 0;
  std::int64_t changedSeconds = 0;
  std::uint32_t modifiedNanoseconds = 0;
  std::uint32_t changedNanoseconds = 0;
  std::uint64_t inode = 0;
  std::uint32_t mode = 0;
  std::uint32_t user = 0;
  std::uint32_t group = 0;
};

// What a page may show of a file besides its name, and its stamp.
struct FileFacts {
  std::uint64_t size = 0;
  std::time_t modified = 0;
  FileStamp stamp;
};

// What a folder entry is, as the file system tells it; which of them a map
// lists or walks is the walk's rule, not the file system's.
enum class EntryKind { kFolder, kFile, kLinkToFolder, kLinkToFile, kOther };

// Receives a folder's entries one by one, "." and ".." left out, in no
// particular order.
using EntryVisitor = std::function<void(std::string_view name, EntryKind)>;

// An open file, read front to back, never past the size it had when it was
// opened: a file that keeps growing still comes to an end.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to `size` bytes into `buffer`: how many were read, 0 at the
  // end.
  virtual Outcome<std::size_t> Read(char* buffer, std::size_t size) = 0;
  virtual FileId Id() const = 0;
  // Whether the file has other names too (hard links), which lead to the
  // same content.
  virtual bool HasOtherNames() const = 0;
  // The size and time as the file was opened, when known without asking
  // the system again.
  virtual std::optional<FileFacts> Facts() const { return std::nullopt; }
};

// The folder a build reads within, its base folder, as the file system
// that opened it knows it: links are followed to files inside it alone.
class ReadBoundary {
 public:
  virtual ~ReadBoundary() = default;
};

// Why a file was not read: it is a link whose file lies outside the folder
// the build reads within.
inline constexpr const char* kLeadsOutsideReason =
    "Leads outside the base folder";

// An open folder. Its entries are listed and its subfolders and files opened
// relative to it, so that a folder on its path renamed, or replaced by a
// link, while a build runs never leads the build anywhere else. Several
// threads may open subfolders and files of one handle at once; only List
// and LeafId want it to themselves.
class FolderHandle {
 public:
  virtual ~FolderHandle() = default;
  virtual const std::string& Path() const = 0;
  virtual FileId Id() const = 0;
  // Lists the folder from its start.
  virtual Outcome<void> List(const EntryVisitor& visit) = 0;
  // Opens the subfolder `name`, never through a link.
  virtual Outcome<std::unique_ptr<FolderHandle>> OpenSubfolder(
      const std::string& name) = 0;
  // What `name` is when it is a real folder that surely holds no folders,
  // told without opening it; nothing whenever the file system cannot tell.
  virtual std::optional<FileId> LeafId(const std::string& /*name*/) {
    return std::nullopt;
  }
  // This folder as the boundary that OpenFile and Facts keep links
  // within; null for a file system without links.
  virtual std::shared_ptr<const ReadBoundary> Boundary() const {
    return nullptr;
  }
  // Opens the file `name` for reading; anything but a file is refused. A
  // link to a file is followed; with `within`, only to a file that lies
  // inside it, decided on the file as opened: a link that leads elsewhere
  // fails with kLeadsOutsideReason, however its target was reached.
  virtual Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& name, const ReadBoundary* within) = 0;
  // The size and modification time of the file `name`, where a link to a
  // file leads, kept `within` as OpenFile is.
  virtual Outcome<FileFacts> Facts(const std::string& name,
                                   const ReadBoundary* within) = 0;
};

// What stands at a name in an output folder.
struct OutputEntry {
  // kStream: a pipe or a character device (a terminal, /dev/null), which
  // takes bytes as they come. kOther: a link, a socket, what is replaced.
  enum class Kind { kNothing, kFolder, kFile, kStream, kBlockDevice, kOther };
  Kind kind = Kind::kNothing;
  FileId id;
  std::uint32_t mode = 0;  // permission bits
  std::uint32_t owner = 0, group = 0;
};

// A file being written: a pipe or a device as a stream, or a new, hidden
// temporary file that is to take another's place. A temporary file exists
// only while this does, unless it took that place.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // The file's name in its folder.
  virtual const std::string& Name() const = 0;
  // Writes the next bytes.
  virtual Outcome<void> Write(std::string_view bytes) = 0;
  // Gives the file the owner, group and permission bits of `old`, the
  // owner and group where the process may.
  virtual Outcome<void> KeepOwnerAndMode(const OutputEntry& old) = 0;
  // Gives the file the permission bits a new file gets: 0666 less the
  // umask.
  virtual Outcome<void> TakeNewFileMode() = 0;
  // Makes every byte written last (a file reaches the disk) and closes it.
  virtual Outcome<void> Finish() = 0;
  // Renames the finished temporary file to `name` in its folder in one
  // step, replacing what stands there; from then on it is that file, which
  // stays when this goes.
  virtual Outcome<void> Replace(const std::string& name) = 0;
};

// A folder that pages are written into, found by its path once. Names are
// the folder's own entries; links at them are replaced, never written
// through. The files it opens may outlive it.
class OutputFolder {
 public:
  virtual ~OutputFolder() = default;
  virtual const std::string& Path() const = 0;
  // The folder itself, whichever path led to it.
  virtual FileId Id() const = 0;
  // What stands at `name`, itself or, with `follow`, where a link leads.
  virtual Outcome<OutputEntry> Inspect(const std::string& name,
                                       bool follow) const = 0;
  // Whether the user may write the file at `name`, as the system judges
  // by its mode (root's way around that aside).
  virtual Outcome<void> MayWrite(const std::string& name) const = 0;
  // Opens the pipe or character device standing at `name` for writing,
  // never through a link, and never waiting for a reader. Null when a file
  // stands there by now, which is then replaced as any page.
  virtual Outcome<std::unique_ptr<OutputFile>> OpenStream(
      const std::string& name) = 0;
  // Creates a new, hidden file that no other has the name of, never
  // through a link, with the permission bits `mode` (less the umask) from
  // the start, so that no reader may open it who may not read the file it
  // is to replace. Until it takes another's place or goes, the signals
  // that end a program remove it too.
  virtual Outcome<std::unique_ptr<OutputFile>> CreateTemporary(
      std::uint32_t mode) = 0;
  virtual Outcome<void> Remove(const std::string& name) = 0;
};

// Why a folder could not be opened again: something else stands at its
// path now.
inline constexpr const char* kReplacedReason =
    "Replaced while the map was being built";

// The file system as a build, a save and the window's folder views see it.
// Every method may be called from several threads at once.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens the folder the user named; links along `path` are followed.
  virtual Outcome<std::unique_ptr<FolderHandle>> OpenFolder(
      const std::string& path) const = 0;

  // Opens again the folder `id`, found at `path` earlier, so that a build
  // need not hold every folder open. Fails when another folder, or a link
  // to one, stands there now.
  virtual Outcome<std::unique_ptr<FolderHandle>> Reopen(const std::string& path,
                                                        FileId id) const = 0;

  // Opens the file at `path` for reading, as FolderHandle::OpenFile does.
  virtual Outcome<std::unique_ptr<FileReader>> OpenFile(
      const std::string& path) const = 0;

  // Opens the folder at `path` to write pages into; it need not be
  // readable.
  virtual Outcome<std::unique_ptr<OutputFolder>> OpenOutputFolder(
      const std::string& path) const = 0;

  // Opens the folder `below` (a relative path) of the folder `base` to
  // write pages into: `base` as any path, each folder after it from the
  // one before, never through a link, so that a link inside cannot send a
  // page elsewhere. A file system without links opens the joined path.
  virtual Outcome<std::unique_ptr<OutputFolder>> OpenOutputFolderBelow(
      const std::string& base, const std::string& below) const;

  // How many folders a walk may keep open for their subfolders to be
  // opened from; the subfolders of any others are opened by path.
  virtual std::size_t HeldFolderBudget() const = 0;

  // How many threads may read at once, each with a folder and a page open,
  // beside the folders a walk holds; no limit unless the file system has
  // one.
  virtual unsigned ReadersAllowed() const { return UINT_MAX; }

  // Whether `path` names a folder that can be opened.
  Outcome<void> IsFolder(const std::string& path) const;

  // What `path` leads to, links followed; nothing when it cannot be told.
  std::optional<FileId> IdOf(const std::string& path) const;

  // Removes the file at `path`; never a folder, and a link itself, not
  // what it leads to.
  Outcome<void> RemoveFile(const std::string& path) const;
};

}  // namespace mapgen
