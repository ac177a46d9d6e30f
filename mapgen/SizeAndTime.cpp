#include "SizeAndTime.h"

#include <array>

namespace mapgen {
namespace {

std::string Format(const std::tm& fields, const char* format) {
  std::array<char, 64> text;
  const std::size_t length =
      std::strftime(text.data(), text.size(), format, &fields);
  return std::string(text.data(), length);
}

}  // namespace

std::string HumanSize(std::uint64_t bytes) {
  constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  if (bytes < 1024) return std::to_string(bytes) + " B";
  // Tenths of a unit, rounded half up and worked out in two steps that
  // cannot overflow; a value that rounds to 1024 units moves on to the
  // next unit.
  std::size_t unit = 0;
  std::uint64_t scale = 1024;
  while (unit + 1 < std::size(kUnits) && bytes / 1024 >= scale) {
    scale *= 1024;
    ++unit;
  }
  std::uint64_t tenths =
      bytes / scale * 10 + (bytes % scale * 10 + scale / 2) / scale;
  if (tenths >= 10240 && unit + 1 < std::size(kUnits)) {
    ++unit;
    tenths = 10;
  }
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " " +
         kUnits[unit];
}

std::string LocalDateTime(std::time_t time) {
  std::tm fields{};
  if (localtime_r(&time, &fields) == nullptr) return {};
  return Format(fields, "%Y-%m-%d %H:%M");
}

std::string UtcTimestamp(std::time_t time) {
  std::tm fields{};
  if (gmtime_r(&time, &fields) == nullptr) return {};
  const long year = fields.tm_year + 1900L;
  if (year < 0 || year > 9999) return {};
  return Format(fields, "%Y-%m-%dT%H:%M:%SZ");
}

}  // namespace mapgen
