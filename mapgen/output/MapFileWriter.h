#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "FileSystem.h"
#include "PageSink.h"

namespace mapgen {

// A page on its way to the path a user named, and only there:
// - /dev/stdout, /dev/stderr and /dev/fd/N: to that descriptor of the
//   process, as it was opened (a shell's ">>" appends);
// - a path that leads, through links, to something other than a file (a
//   pipe, a terminal, a device): written to as a stream; a pipe that nobody
//   reads is an error at once;
// - any other path is replaced so that nobody ever sees half a page: the
//   bytes go to a new hidden file beside it, which takes its place at
//   Commit, or goes again, leaving the old file exactly as it was. A link
//   standing at the path is replaced, never written through. A page the
//   user may not write is left alone, as a shell would leave it. The new
//   page keeps the old one's permissions, and its owner and group where the
//   process may set them.
// Every failure names the path as the user gave it.
class MapFileWriter : public PageSink {
 public:
  static Outcome<std::unique_ptr<MapFileWriter>> Open(const FileSystem& fs,
                                                      const std::string& path);
  MapFileWriter(const MapFileWriter&) = delete;
  MapFileWriter& operator=(const MapFileWriter&) = delete;

  Outcome<void> Write(std::string_view bytes) override;

  // Puts the page in place; without it the page is abandoned.
  Outcome<void> Commit();

 private:
  explicit MapFileWriter(std::string path) : path_(std::move(path)) {}
  Outcome<void> Prepare(const FileSystem& fs);
  Outcome<void> CreateReplacement(const std::string& name);
  Failure Named(Failure failure) const;

  std::string path_;
  std::optional<DescriptorSink> own_;
  std::unique_ptr<OutputFolder> folder_;
  // A stream, or the new page, which goes with this object unless Commit
  // put it in place.
  std::unique_ptr<OutputFile> file_;
  std::string replaced_;  // the name the new page takes; empty for a stream
};

// Whether `path` names one of the process's own descriptors
// (/dev/stdout, /dev/stderr, /dev/fd/N), which a page is written to as it
// was opened, wherever it leads.
bool IsOwnDescriptor(std::string_view path);

// Writes `text` as the page at `path`, as MapFileWriter does.
Outcome<void> WriteMapFile(const FileSystem& fs, const std::string& path,
                           std::string_view text);

// Copies the file `source` to `target` as a page is written there, in
// pieces, whatever its size. The failure names the path at fault.
Outcome<void> CopyMapFile(const FileSystem& fs, const std::string& source,
                          const std::string& target);

}  // namespace mapgen
