#include "SizeAndTime.h"

#include <array>
#include <chrono>
#include <optional>

namespace mapgen {
namespace {

std::string Format(const std::tm& fields, const char* format) {
  std::array<char, 64> text;
  const std::size_t length =
      std::strftime(text.data(), text.size(), format, &fields);
  return std::string(text.data(), length);
}

// Writes `value` over the `width` digits of `text` from `at`.
void PutDigits(std::string& text, std::size_t at, std::size_t width,
               long long value) {
  for (std::size_t i = at + width; i > at; value /= 10) {
    text[--i] = static_cast<char>('0' + value % 10);
  }
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
  // The files of a tree often change within the same minute, whose text is
  // then worked out once per thread.
  thread_local std::optional<std::time_t> lastMinute;
  thread_local std::string lastText;
  const std::time_t minute = time / 60 - (time % 60 < 0 ? 1 : 0);
  if (minute == lastMinute) return lastText;
  std::tm fields{};
  if (localtime_r(&time, &fields) == nullptr) return {};
  lastMinute = minute;
  lastText = Format(fields, "%Y-%m-%d %H:%M");
  return lastText;
}

std::string UtcTimestamp(std::time_t time) {
  // 0000-01-01T00:00:00Z and 9999-12-31T23:59:59Z.
  if (time < -62167219200 || time > 253402300799) return {};
  using namespace std::chrono;
  const sys_seconds at{seconds(time)};
  const sys_days day = floor<days>(at);
  const year_month_day date(day);
  const hh_mm_ss<seconds> clock(at - day);
  std::string text = "0000-00-00T00:00:00Z";
  PutDigits(text, 0, 4, static_cast<int>(date.year()));
  PutDigits(text, 5, 2, static_cast<unsigned>(date.month()));
  PutDigits(text, 8, 2, static_cast<unsigned>(date.day()));
  PutDigits(text, 11, 2, clock.hours().count());
  PutDigits(text, 14, 2, clock.minutes().count());
  PutDigits(text, 17, 2, clock.seconds().count());
  return text;
}

}  // namespace mapgen
