// Times a key typed into a large preface, as the window handles it: the
// text reaches the settings and the map goes out of date, for each key.
//
//   QT_QPA_PLATFORM=offscreen window_typing [MEGABYTES] [KEYS] [LINE]
//
// LINE is the length of the preface's lines; 0 makes it one line.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PosixFileSystem.h"
#include "QtDesktop.h"
#include "frmTessary.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const int megabytes = argc > 1 ? std::atoi(argv[1]) : 2;
  const int keys = argc > 2 ? std::atoi(argv[2]) : 20;
  const int length = argc > 3 ? std::atoi(argv[3]) : 80;
  tessary::QtDesktop desktop;
  const mapgen::PosixFileSystem fs;
  tessary::frmTessary window(desktop.desktop(), fs, [] {});
  window.Form_Load({});
  window.lblToolbar_Click(2);
  window.show();
  auto* preface = window.findChild<QPlainTextEdit*>("txtPreface");
  const qsizetype size = qsizetype(megabytes) << 20;
  const QString line =
      length > 0 ? QString(length - 1, 'x') + '\n' : QString(size, 'x');
  preface->setPlainText(line.repeated(size / line.size()));
  QCoreApplication::processEvents();
  preface->setFocus();
  std::vector<double> times;
  for (int key = 0; key < keys; ++key) {
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(preface, &press);
    QCoreApplication::processEvents();
    times.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::sort(times.begin(), times.end());
  std::printf("%d MB preface: median %.2f ms a key, slowest %.2f ms\n",
              megabytes, times[times.size() / 2], times.back());
  std::printf("the settings hold %zu bytes of it\n",
              window.settings().txtPreface.size());
  return 0;
}
