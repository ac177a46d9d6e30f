#include "ImageInBase.h"

namespace tessary {

std::optional<QString> NameInBase(const QString& file, const QString& base) {
  const QString prefix = base.endsWith('/') ? base : base + '/';
  if (!file.startsWith(prefix, Qt::CaseInsensitive)) return std::nullopt;
  return file.mid(prefix.size());
}

}  // namespace tessary
