#pragma once

#include <QString>

#include "FileSystem.h"

namespace tessary {

// Copies the file `source` to `destination`, replacing it as the core
// replaces a page: the destination is whole, old or new, never half
// written. False with the path at fault and the system's reason.
bool CopyWholeFile(const QString& source, const QString& destination,
                   mapgen::Failure& failure);

// Whether both names lead to one file on disk (false when either is
// missing), however they are spelt.
bool SameFile(const QString& first, const QString& second);

}  // namespace tessary
