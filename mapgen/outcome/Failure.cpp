#include "Failure.h"

#include <string.h>

#include <cerrno>

namespace mapgen {

// The words are those of std::error_code's message, found without a call
// on the error category: a sanitizer checks such a call with descriptors
// of its own, which a process out of descriptors does not have.
Failure SystemFailure(std::string path, int error) {
  char buffer[256];
  std::string reason = ::strerror_r(error, buffer, sizeof buffer);
  return {std::move(path), std::move(reason),
          std::error_code(error, std::system_category())};
}

bool IsSystemError(const Failure& failure, int error) {
  return failure.error.value() == error &&
         &failure.error.category() == &std::system_category();
}

bool IsShortage(const Failure& failure) {
  return IsSystemError(failure, EMFILE) || IsSystemError(failure, ENFILE) ||
         IsSystemError(failure, ENOMEM);
}

}  // namespace mapgen
