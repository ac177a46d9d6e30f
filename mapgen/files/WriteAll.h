#pragma once

#include <string>
#include <string_view>

#include "Outcome.h"

namespace mapgen {

// Writes every byte to the open descriptor `fd`, however many calls that
// takes; a failure names `name`.
Outcome<void> WriteAll(int fd, std::string_view bytes, const std::string& name);

}  // namespace mapgen
