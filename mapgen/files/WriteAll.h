#pragma once

#include <string>
#include <string_view>

#include "Failure.h"

namespace mapgen {

// Writes every byte to the open descriptor `fd`, however many calls that
// takes; false with `failure` naming `name` when the system refuses.
bool WriteAll(int fd, std::string_view bytes, const std::string& name,
              Failure& failure);

}  // namespace mapgen
