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

// Where a copy of the map's page ended.
struct CopyOutcome {
  bool copied = false;      // the destination holds the page
  mapgen::Failure failure;  // why not
};

// Copies the page to `destination`, unless that is the page itself, and
// then removes `source` when asked to. It waits for the disk, so the window
// runs it off its own thread.
CopyOutcome CopyPage(const QString& source, const QString& destination,
                     bool removeSource);

}  // namespace tessary
