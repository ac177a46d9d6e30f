#include "Drives.h"

#include <QStorageInfo>

#include "QtDesktop.h"

namespace tessary {
namespace {

bool IsBrowsable(const QStorageInfo& volume) {
  if (!volume.isValid() || !volume.isReady() ||
      !volume.device().startsWith("/dev/")) {
    return false;
  }
  const QString path = volume.rootPath();
  return path == "/home" || path.startsWith("/media/") ||
         path.startsWith("/run/media/") || path.startsWith("/mnt/");
}

Drive DriveOf(const QStorageInfo& volume) {
  const QString path = volume.rootPath();
  const QString name = volume.name();
  return {name.isEmpty() ? path : path + " [" + name + "]", path};
}

bool Holds(const QString& mountPoint, const QString& folder) {
  return mountPoint == "/" || folder == mountPoint ||
         folder.startsWith(mountPoint + "/");
}

}  // namespace

std::vector<Drive> QtDrives::Browsable() {
  std::vector<Drive> drives = {DriveOf(QStorageInfo::root())};
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (IsBrowsable(volume)) drives.push_back(DriveOf(volume));
  }
  return drives;
}

int DriveHolding(const std::vector<Drive>& drives, const QString& folder) {
  int best = 0;
  for (int i = 0; i < static_cast<int>(drives.size()); ++i) {
    if (Holds(drives[i].path, folder) &&
        drives[i].path.size() > drives[best].path.size()) {
      best = i;
    }
  }
  return best;
}

bool IsDriveRoot(const std::vector<Drive>& drives, const QString& folder) {
  for (const Drive& drive : drives) {
    if (drive.path == folder) return true;
  }
  return false;
}

}  // namespace tessary
