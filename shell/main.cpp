#include <QApplication>
#include <QIcon>

#include "Module1.h"
#include "QtDesktop.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(":/icons/tessary.png"));
  tessary::QtDesktop desktop;
  tessary::Module1 program(desktop.desktop());
  program.Main(QApplication::arguments().mid(1));
  return QApplication::exec();
}
