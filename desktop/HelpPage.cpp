#include "HelpPage.h"

#include <QDir>
#include <QFileInfo>

namespace tessary {

QString HelpPagePath(const QString& programFolder) {
  const QDir folder(programFolder);
  const QString beside = folder.filePath("tessaryhelp.htm");
  const QString installed =
      QDir::cleanPath(folder.filePath("../share/tessary/tessaryhelp.htm"));
  if (!QFileInfo(beside).isFile() && QFileInfo(installed).isFile()) {
    return installed;
  }
  return beside;
}

}  // namespace tessary
