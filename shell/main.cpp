#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "HelpAndVersion.h"
#include "Module1.h"
#include "QtDesktop.h"

int main(int argc, char* argv[]) {
  if (const auto text = tessary::HelpOrVersionText({argv + 1, argv + argc})) {
    std::fputs(text->c_str(), stdout);
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(":/icons/tessary.png"));
  tessary::QtDesktop desktop;
  tessary::Module1 program(desktop.desktop());
  program.Main(QApplication::arguments().mid(1));
  return QApplication::exec();
}
