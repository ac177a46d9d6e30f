#include "FileCopy.h"

#include <sys/stat.h>

#include <QFile>

#include "MapFile.h"
#include "PosixFileSystem.h"

namespace tessary {
namespace {

std::string NativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

bool CopyWholeFile(const QString& source, const QString& destination,
                   mapgen::Failure& failure) {
  return mapgen::CopyMapFile(mapgen::PosixFileSystem(), NativePath(source),
                             NativePath(destination), failure);
}

bool SameFile(const QString& first, const QString& second) {
  struct stat a;
  struct stat b;
  return ::stat(NativePath(first).c_str(), &a) == 0 &&
         ::stat(NativePath(second).c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

CopyOutcome CopyPage(const QString& source, const QString& destination,
                     bool removeSource) {
  CopyOutcome outcome;
  if (SameFile(source, destination)) return {true, {}};
  if (!CopyWholeFile(source, destination, outcome.failure)) return outcome;
  if (removeSource) QFile::remove(source);
  outcome.copied = true;
  return outcome;
}

}  // namespace tessary
