#include "ImageInBase.h"

#include <QFile>

namespace tessary {

std::optional<QString> NameInBase(const QString& file, const QString& base) {
  const QByteArray path = QFile::encodeName(file);
  QByteArray prefix = QFile::encodeName(base);
  if (!prefix.endsWith('/')) prefix += '/';
  if (!path.startsWith(prefix)) return std::nullopt;
  return QFile::decodeName(path.mid(prefix.size()));
}

}  // namespace tessary
