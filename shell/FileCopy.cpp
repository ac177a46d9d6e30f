#include "FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

#include "MapFile.h"

namespace tessary {
namespace {

std::string NativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

bool ReadWholeFile(const std::string& path, std::string& text,
                   std::string& reason) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count == 0) break;
    if (count < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      ::close(fd);
      return false;
    }
    text.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return true;
}

}  // namespace

bool CopyWholeFile(const QString& source, const QString& destination,
                   mapgen::Failure& failure) {
  std::string text;
  failure = {NativePath(source), {}};
  if (!ReadWholeFile(failure.path, text, failure.reason)) return false;
  failure.path = NativePath(destination);
  return mapgen::WriteMapFile(failure.path, text, failure.reason);
}

bool SameFile(const QString& first, const QString& second) {
  struct stat a;
  struct stat b;
  return ::stat(NativePath(first).c_str(), &a) == 0 &&
         ::stat(NativePath(second).c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

}  // namespace tessary
