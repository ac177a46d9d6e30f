#pragma once

#include <cstring>
#include <string>

namespace mapgen {

// The system's own words for an error number, as failures report it.
inline std::string SystemReason(int error) { return std::strerror(error); }

}  // namespace mapgen
