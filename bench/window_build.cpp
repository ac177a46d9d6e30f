// Times the window's Build on a folder tree: from the click on Build to
// the end of the build as the window hears of it, the page written. The
// window runs offscreen on the real desktop; the first run warms it up.
//
//   window_build TREE [RUNS]     prints each run's milliseconds, then the
//                                median of the runs after the first
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PosixFileSystem.h"
#include "QtDesktop.h"
#include "frmTessary.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: window_build TREE [RUNS]\n", stderr);
    return 2;
  }
  const std::string tree = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
  tessary::QtDesktop desktop;
  const mapgen::PosixFileSystem fs;
  tessary::frmTessary window(desktop.desktop(), fs, [] {});
  window.Form_Load({});
  QString reason;
  if (!window.ChangeFolder(tree, reason)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(reason));
    return 1;
  }
  auto* build = window.findChild<QPushButton*>("cmdBuildMap");
  std::vector<double> times;
  for (int run = 0; run <= runs; ++run) {
    window.SetButtons(1);  // as after an edit: Build is offered again
    QElapsedTimer clock;
    clock.start();
    build->click();
    while (!window.Idle()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const double milliseconds = clock.nsecsElapsed() / 1e6;
    if (!window.MapBuilt()) {
      std::fputs("the build failed\n", stderr);
      return 1;
    }
    std::printf("%s %.1f ms\n", run == 0 ? "warm-up" : "run", milliseconds);
    if (run > 0) times.push_back(milliseconds);
  }
  std::sort(times.begin(), times.end());
  std::printf("median %.1f ms\n", times[times.size() / 2]);
  std::remove(window.TempMapPath().c_str());
  return 0;
}
