#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace mapgen {

// Appends a file size for readers: whole bytes below 1 KiB ("512 B"),
// else 1024-based units with one decimal ("3.4 KiB", "1.0 MiB"), rounded
// to the nearest tenth.
void AppendHumanSize(std::string& out, std::uint64_t bytes);

// A modification time in the reader's local time, "YYYY-MM-DD HH:MM";
// empty when the system cannot express it. The text is the calling
// thread's, and stays until its next call.
std::string_view LocalDateTime(std::time_t time);

// Appends a time in UTC as sitemaps write it, "YYYY-MM-DDThh:mm:ssZ";
// false, with nothing appended, when its year does not have four digits,
// which that format cannot say.
bool AppendUtcTimestamp(std::string& out, std::time_t time);

}  // namespace mapgen
