#include <QApplication>
#include <QIcon>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "Failure.h"
#include "HelpAndVersion.h"
#include "Module1.h"
#include "QtDesktop.h"
#include "StandardDescriptors.h"

int main(int argc, char* argv[]) {
  // First of all, so that no file the window opens (a page being written)
  // can take the number of a closed standard descriptor and receive Qt's
  // warnings.
  if (!mapgen::OpenClosedStandardDescriptors()) {
    std::fprintf(stderr, "tessary: cannot open /dev/null: %s\n",
                 mapgen::SystemFailure({}, errno).reason.c_str());
    return 1;
  }
  if (const auto text = tessary::HelpOrVersionText({argv + 1, argv + argc})) {
    std::fputs(text->c_str(), stdout);
    return 0;
  }
  // A pipe whose reader has gone, or a page past the file-size limit, is a
  // failed write the user is told of, never the end of the window.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(":/icons/tessary.png"));
  tessary::QtDesktop desktop;
  tessary::Module1 program(desktop.desktop());
  // The arguments Qt leaves, as the system gave them: a folder's name is
  // bytes, which Qt's own list of arguments would turn into text.
  program.Main({argv + 1, argv + argc});
  return QApplication::exec();
}
