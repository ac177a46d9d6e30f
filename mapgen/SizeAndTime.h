#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace mapgen {

// A file size for readers: whole bytes below 1 KiB ("512 B"), else
// 1024-based units with one decimal ("3.4 KiB", "1.0 MiB"), rounded to
// the nearest tenth.
std::string HumanSize(std::uint64_t bytes);

// A modification time in the reader's local time, "YYYY-MM-DD HH:MM";
// empty when the system cannot express it.
std::string LocalDateTime(std::time_t time);

// A time in UTC as sitemaps write it, "YYYY-MM-DDThh:mm:ssZ"; empty when
// its year does not have four digits, which that format cannot say.
std::string UtcTimestamp(std::time_t time);

}  // namespace mapgen
