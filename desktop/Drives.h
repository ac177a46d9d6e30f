#pragma once

#include <QString>
#include <vector>

namespace tessary {

// A mounted file system that holds files a user browses: the root, /home
// when it is a file system of its own, and removable media.
struct Drive {
  QString text;  // the mount point, and the volume's name when it has one
  QString path;  // the mount point
};

// The drives of the machine, the root first, so that tests can give
// drives of their own.
class Drives {
 public:
  virtual ~Drives() = default;
  virtual std::vector<Drive> Browsable() = 0;
};

// The drive whose mount point holds `folder` most closely; the root when
// none of the others does.
int DriveHolding(const std::vector<Drive>& drives, const QString& folder);

// Whether `folder` is the mount point of a drive: mapping it may take long.
bool IsDriveRoot(const std::vector<Drive>& drives, const QString& folder);

}  // namespace tessary
