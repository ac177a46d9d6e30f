// The window at the process's thread limit, where no thread starts: not
// in the window's pool, not in the core, not in Qt. Build must still end
// with the page built, on the window's own thread. ctest runs it under
// prlimit --nproc=1; Qt Test is not used, as its watchdog needs a thread.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "FakeDesktop.h"
#include "PosixFileSystem.h"
#include "frmTessary.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QTemporaryDir base;
  QFile page(base.filePath("a.html"));
  tessary::FakeDesktop fakes;
  const mapgen::PosixFileSystem disk;
  tessary::frmTessary window(fakes.desktop, disk, [] {});
  window.Form_Load({});
  QString reason;
  if (!page.open(QIODevice::WriteOnly) || !window.ChangeFolder(base.path().toStdString(), reason)) {
    std::fputs("no folder to build\n", stderr);
    return 1;
  }
  window.findChild<QPushButton*>("cmdBuildMap")->click();
  const QDeadlineTimer deadline(std::chrono::seconds(30));
  while (!window.Idle() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  }
  if (!window.MapBuilt()) {
    std::fputs("the build did not end with a page\n", stderr);
    return 1;
  }
  return 0;
}
