#pragma once

#include <QFile>
#include <QString>
#include <string>

#include "Utf8.h"

namespace tessary {

// The window holds paths as the file system spells them, in bytes, and
// turns them into text only to show them: a name that is no UTF-8 shows
// with U+FFFD for its odd bytes but still leads to its file.

// A path typed or chosen in a dialog, as the file system spells it.
inline std::string NativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

inline QString ShownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// A path handed to another program as one argument: as it is when it is
// text, else as a file: address, whose escapes carry any byte.
inline QString ForOtherPrograms(const std::string& path) {
  if (mapgen::IsValidUtf8(path)) return ShownPath(path);
  return QString::fromLatin1(
      "file://" + QByteArray::fromStdString(path).toPercentEncoding("/"));
}

}  // namespace tessary
