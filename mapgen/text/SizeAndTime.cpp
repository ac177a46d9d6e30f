#include "SizeAndTime.h"

#include <array>
#include <chrono>
#include <optional>

namespace mapgen {
namespace {

constexpr std::time_t kSecondsADay = 24 * 60 * 60;

// Writes `value` over the `width` digits from `at`.
void PutDigits(char* at, std::size_t width, long long value) {
  for (std::size_t i = width; i > 0; value /= 10) {
    at[--i] = static_cast<char>('0' + value % 10);
  }
}

void AppendNumber(std::string& out, std::uint64_t value) {
  std::array<char, 20> digits;
  std::size_t first = digits.size();
  do {
    digits[--first] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0);
  out.append(digits.data() + first, digits.size() - first);
}

// The whole periods of `length` seconds since the epoch up to `time`.
std::time_t Periods(std::time_t time, std::time_t length) {
  return time / length - (time % length < 0 ? 1 : 0);
}

}  // namespace

void AppendHumanSize(std::string& out, std::uint64_t bytes) {
  constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
  if (bytes < 1024) {
    AppendNumber(out, bytes);
    out += " B";
    return;
  }
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
  AppendNumber(out, tenths / 10);
  out += '.';
  out += static_cast<char>('0' + tenths % 10);
  out += ' ';
  out += kUnits[unit];
}

std::string_view LocalDateTime(std::time_t time) {
  // The files of a tree often change within the same minute, whose text is
  // then worked out once per thread.
  thread_local std::optional<std::time_t> lastMinute;
  thread_local std::array<char, 64> text;
  thread_local std::size_t length = 0;
  const std::time_t minute = Periods(time, 60);
  if (minute == lastMinute) return {text.data(), length};
  std::tm fields{};
  if (localtime_r(&time, &fields) == nullptr) return {};
  lastMinute = minute;
  length = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", &fields);
  return {text.data(), length};
}

bool AppendUtcTimestamp(std::string& out, std::time_t time) {
  // 0000-01-01T00:00:00Z and 9999-12-31T23:59:59Z.
  if (time < -62167219200 || time > 253402300799) return false;
  // As with local times, the date of the day before is often the one
  // wanted again.
  thread_local std::optional<std::time_t> lastDay;
  thread_local std::array<char, 20> text = {"0000-00-00T00:00:00"};
  const std::time_t day = Periods(time, kSecondsADay);
  if (day != lastDay) {
    using namespace std::chrono;
    const year_month_day date{sys_days(days(day))};
    PutDigits(text.data(), 4, static_cast<int>(date.year()));
    PutDigits(text.data() + 5, 2, static_cast<unsigned>(date.month()));
    PutDigits(text.data() + 8, 2, static_cast<unsigned>(date.day()));
    lastDay = day;
  }
  const std::time_t second = time - day * kSecondsADay;
  PutDigits(text.data() + 11, 2, second / 3600);
  PutDigits(text.data() + 14, 2, second / 60 % 60);
  PutDigits(text.data() + 17, 2, second % 60);
  text[19] = 'Z';
  out.append(text.data(), text.size());
  return true;
}

}  // namespace mapgen
