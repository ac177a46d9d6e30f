#include "Failure.h"

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

}  // namespace mapgen
