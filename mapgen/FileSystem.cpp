#include "FileSystem.h"

#include <cerrno>

#include "SystemReason.h"

namespace mapgen {

Failure SystemFailure(std::string path, int error) {
  return {std::move(path), SystemReason(error), error};
}

bool IsShortage(const Failure& failure) {
  return failure.error == EMFILE || failure.error == ENFILE ||
         failure.error == ENOMEM;
}

bool FileSystem::IsFolder(const std::string& path, std::string& reason) const {
  Failure failure;
  if (OpenFolder(path, failure) != nullptr) return true;
  reason = failure.reason;
  return false;
}

}  // namespace mapgen
