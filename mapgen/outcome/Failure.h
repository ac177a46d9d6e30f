#pragma once

#include <string>
#include <system_error>

namespace mapgen {

// What went wrong, and where: a file's or folder's path, or for a setting
// its field's name ("cmbTemplate") or its line in a settings file
// ("site.conf:3"); the reason in words, the system's own where it gave
// one.
struct Failure {
  Failure() = default;
  Failure(std::string path, std::string reason, std::error_code error = {})
      : path(std::move(path)), reason(std::move(reason)), error(error) {}

  std::string path;
  std::string reason;
  std::error_code error;  // the system's error; none when it gave none
};

// The failure of `path` with the system's error number `error`, in the
// system's words. Safe on any thread, unlike strerror.
Failure SystemFailure(std::string path, int error);

// Whether the system gave `failure` the error number `error`.
bool IsSystemError(const Failure& failure, int error);

// Whether the machine ran short of descriptors or memory. Unlike trouble
// with one entry, such a failure may hit any folder, so a page built past
// it could silently miss some: the build must fail instead.
bool IsShortage(const Failure& failure);

}  // namespace mapgen
