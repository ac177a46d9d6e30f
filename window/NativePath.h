#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace tessary {

// A path as the file system spells it, in bytes, and back for showing.
inline std::string NativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

inline QString ShownPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace tessary
