#pragma once

#include <QString>
#include <optional>

namespace tessary {

// The name by which the page in `base` refers to `file`: its path below
// the base folder. Nothing when the file does not lie inside the base
// folder; the paths are compared byte for byte, as the file system names
// files.
std::optional<QString> NameInBase(const QString& file, const QString& base);

}  // namespace tessary
