#include "Failure.h"

#include <cerrno>

namespace mapgen {

Failure SystemFailure(std::string path, int error) {
  const std::error_code code(error, std::system_category());
  return {std::move(path), code.message(), code};
}

bool IsShortage(const Failure& failure) {
  return failure.error == std::errc::too_many_files_open ||
         failure.error == std::errc::too_many_files_open_in_system ||
         failure.error == std::errc::not_enough_memory;
}

}  // namespace mapgen
