#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "PageSink.h"

namespace mapgen {

// Where one file of a run goes: a path, or one of the process's own
// descriptors, written as it was opened (tessary-cli's "-" and
// /dev/stdout; in the window every name is a path).
struct OutputTarget {
  OutputTarget() = default;
  OutputTarget(std::string path) : path(std::move(path)) {}
  OutputTarget(std::string name, int fd)
      : path(std::move(name)), descriptor(fd) {}

  // A file `below` the folder `within` (a settings file's path from the
  // page's folder): the folders on the way are opened without following
  // links.
  static OutputTarget Below(const std::string& within,
                            const std::string& below);

  // As the user gave it; failures name it. For a descriptor, how messages
  // call it ("standard output", "/dev/fd/3").
  std::string path;
  std::optional<int> descriptor;
  // The folder below which the folders on the way are opened without
  // following links, and the path from it; empty: every link on the way
  // is followed.
  std::string within, below;
};

// The files one run writes (a page, its XML sitemap and the sitemap's
// pieces, a robots file, a settings file), put in place as one set, so
// that the person running it, root on a folder others may write, cannot
// be made to write anywhere else or to replace half a set:
// - every name is checked before the first file is written: its folder
//   exists and may be written, a file at it may be written, it is no
//   folder and no block device, and no two outputs are one file, judged
//   by the folder's identity and the name (so two spellings through a
//   linked folder are one);
// - what stands at a name is told by the name itself, never by what a
//   link there leads to: a pipe or a character device is written as a
//   stream, anything else (a link included) is replaced, never written
//   through;
// - a replacement is written to a new hidden file beside the name,
//   created with the mode of the file it replaces (or 0666 less the
//   umask) before its first byte, and takes the name at Commit, after
//   every name is checked once more; a failure after the first rename
//   names the files already replaced.
// One thread at a time.
class OutputSet {
 public:
  explicit OutputSet(const FileSystem& fs);
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Adds an output, which messages about two outputs call `what` ("the
  // page"); gives its number.
  std::size_t Add(std::string what, OutputTarget target);

  // Says that files named so that `isPiece` holds may go beside output
  // `output` (the numbered pieces of a sitemap): no other output may have
  // such a name in that folder, whether or not they come.
  void AddPieces(std::size_t output,
                 std::function<bool(std::string_view name)> isPiece);

  // Checks every output's name, before anything is written. Two outputs
  // that are one file fail with the error file_exists: the outputs are
  // wrongly chosen, and nothing can be written at all.
  Outcome<void> Check();

  // Whether output `output` takes its bytes as they come (a descriptor, a
  // pipe, a device), so that no file can go beside it.
  bool IsStream(std::size_t output) const;

  // Opens output `output` for writing, once Check passed.
  Outcome<PageSink*> Open(std::size_t output);

  // Opens a file to go beside output `output`, named later, when it is
  // complete, with one of `names` (a sitemap's file, which is its index or
  // its first piece): its mode from the start is the most careful of the
  // files those names hold.
  Outcome<PageSink*> OpenBeside(std::size_t output,
                                const std::vector<std::string>& names);
  // Names the file `file` opened beside an output, which takes the mode
  // and owner of the file at that name now.
  Outcome<void> Name(const PageSink* file, std::string name);

  // Puts every file opened in place: the files beside each output first,
  // then the output's own, outputs in the order they were added.
  Outcome<void> Commit();

  // Once the set is in place: removes the file `name` beside output
  // `output`, a piece of it (see AddPieces) that an earlier run left and
  // this one did not write.
  Outcome<void> RemoveBeside(std::size_t output, const std::string& name);

 private:
  struct Output;
  class File;

  Outcome<void> Inspect(Output& output);
  Outcome<OutputEntry> CheckName(const Output& output,
                                 const std::string& name) const;
  std::optional<Failure> SameFile(std::size_t later) const;
  Outcome<std::unique_ptr<File>> Stage(Output& output, std::uint32_t mode,
                                       std::string path);
  Outcome<void> Finish();

  const FileSystem& fs_;
  std::vector<std::unique_ptr<Output>> outputs_;
};

}  // namespace mapgen
