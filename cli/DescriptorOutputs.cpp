#include "DescriptorOutputs.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "Failure.h"

namespace cli {

std::optional<int> NamedDescriptor(std::string_view name) {
  if (name == "-" || name == "/dev/stdout") return STDOUT_FILENO;
  if (name == "/dev/stderr") return STDERR_FILENO;
  constexpr std::string_view kFdFolder = "/dev/fd/";
  if (!name.starts_with(kFdFolder)) return std::nullopt;
  const std::string_view number = name.substr(kFdFolder.size());
  if (number.empty() ||
      number.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  int fd = -1;
  const auto [end, error] =
      std::from_chars(number.data(), number.data() + number.size(), fd);
  return error == std::errc() ? fd : -1;
}

std::string ShownOutputName(std::string_view name) {
  return name == "-" ? "standard output" : std::string(name);
}

std::string WhyNotWritable(int fd, mapgen::ClosedAtStart closedAtStart) {
  const bool closed =
      fd < 0 || (fd < 3 && closedAtStart.test(static_cast<std::size_t>(fd)));
  const int flags = closed ? -1 : ::fcntl(fd, F_GETFL);
  if (flags == -1 || (flags & O_ACCMODE) == O_RDONLY) {
    return mapgen::SystemFailure({}, EBADF).reason;
  }
  return {};
}

}  // namespace cli
