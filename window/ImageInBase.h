#pragma once

#include <QString>
#include <optional>

namespace tessary {

// The name by which the page in `base` refers to `file`: its path below
// the base folder. Nothing when the file does not lie inside the base
// folder; letter case is ignored in that test.
std::optional<QString> NameInBase(const QString& file, const QString& base);

}  // namespace tessary
