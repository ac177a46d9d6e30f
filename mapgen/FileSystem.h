#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mapgen {

// What went wrong with one path, in the system's own words.
struct Failure {
  std::string path;
  std::string reason;
  int error = 0;  // the system's error number; 0 when it gave none
};

// The failure of `path` with the system's error number `error`.
Failure SystemFailure(std::string path, int error);

// Whether the machine ran short of descriptors or memory. Unlike trouble
// with one entry, such a failure may hit any folder, so a page built past
// it could silently miss some: the build must fail instead.
bool IsShortage(const Failure& failure);

// Tells a file or folder apart from every other one on the machine for as
// long as it exists, whatever its name.
struct FileId {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileId&) const = default;
};

// One folder's entries that a map can use: real subfolders (never links to
// folders) and files a browser can open (regular files and links to them),
// names only, hidden names left out, in no particular order.
struct FolderListing {
  std::vector<std::string> subfolders;
  std::vector<std::string> files;
};

// An open file, read front to back, never past the size it had when it was
// opened: a file that keeps growing still comes to an end.
class FileReader {
 public:
  virtual ~FileReader() = default;
  // Reads up to `size` bytes into `buffer`; returns how many were read, 0 at
  // the end, or -1 with `failure` set when the read failed.
  virtual long Read(char* buffer, std::size_t size, Failure& failure) = 0;
  virtual FileId Id() const = 0;
  // Whether the file has other names too (hard links), which lead to the
  // same content.
  virtual bool HasOtherNames() const = 0;
};

// An open folder. Its entries are listed and its subfolders and files opened
// relative to it, so that a folder on its path renamed, or replaced by a
// link, while a build runs never leads the build anywhere else. Several
// threads may open subfolders and files of one handle at once; only List
// wants it to themselves.
class FolderHandle {
 public:
  virtual ~FolderHandle() = default;
  virtual const std::string& Path() const = 0;
  virtual FileId Id() const = 0;
  // Lists the folder from its start; false with `failure` set when it
  // cannot be read.
  virtual bool List(FolderListing& listing, Failure& failure) = 0;
  // Opens the subfolder `name`, never through a link.
  virtual std::unique_ptr<FolderHandle> OpenSubfolder(const std::string& name,
                                                      Failure& failure) = 0;
  // Opens the file `name` for reading; a link to a file is followed.
  virtual std::unique_ptr<FileReader> OpenFile(const std::string& name,
                                               Failure& failure) = 0;
};

// Why a folder could not be opened again: something else stands at its
// path now.
inline constexpr const char* kReplacedReason =
    "Replaced while the map was being built";

// The file system as a build sees it. Every method may be called from
// several threads at once.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens the folder the user named; links along `path` are followed.
  virtual std::unique_ptr<FolderHandle> OpenFolder(const std::string& path,
                                                   Failure& failure) const = 0;

  // Opens again the folder `id`, found at `path` earlier, so that a build
  // need not hold every folder open. Fails when another folder, or a link
  // to one, stands there now.
  virtual std::unique_ptr<FolderHandle> Reopen(const std::string& path,
                                               FileId id,
                                               Failure& failure) const = 0;

  // How many folders a walk may keep open for their subfolders to be
  // opened from; the subfolders of any others are opened by path.
  virtual std::size_t HeldFolderBudget() const = 0;

  // How many threads may read at once, each with a folder and a page open,
  // beside the folders a walk holds; no limit unless the file system has
  // one.
  virtual unsigned ReadersAllowed() const { return UINT_MAX; }

  // Whether `path` names a folder that can be opened; the reason when not.
  bool IsFolder(const std::string& path, std::string& reason) const;
};

}  // namespace mapgen
