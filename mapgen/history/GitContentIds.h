#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace mapgen {

class ChildProgram;

// Asks git for the object ids of files as it would stage them now, one
// run of `git hash-object` answering every file the threads ask of it. It
// runs at the top of the work tree, where every version of git takes the
// paths it reads from there.
class GitContentIds {
 public:
  // For the files below `prefix` ("docs/") of the work tree at `top`.
  GitContentIds(std::string top, std::string prefix, std::string git);
  ~GitContentIds();
  GitContentIds(const GitContentIds&) = delete;
  GitContentIds& operator=(const GitContentIds&) = delete;

  // The id, in hexadecimal, of the file at `path` from the folder; none
  // when git cannot tell, as for a file gone since. Any thread may ask.
  std::optional<std::string> Of(std::string_view path);

 private:
  const std::string top_;
  const std::string prefix_;
  const std::string git_;
  std::mutex mutex_;
  std::unique_ptr<ChildProgram> program_;
};

}  // namespace mapgen
