#pragma once

#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "Desktop.h"
#include "PosixFileSystem.h"

namespace tessary {

class frmAboutTessary;
class frmTessary;
class frmTessaryIntro;

// The program as a whole: its command line, its windows, its start and
// its end.
class Module1 {
 public:
  explicit Module1(Desktop& desktop);
  ~Module1();

  // Shows the welcome window and loads the main window hidden, on the
  // folder that `arguments` name, if any: the bytes of the command line,
  // which need not be UTF-8.
  void Main(const std::vector<std::string>& arguments);

  // Closes every window that is open and ends the program; a running build
  // is abandoned without writing anything.
  void EndProgram();

  // The About box, over the main window; asked for again, the open one
  // comes to the front.
  void ShowAbout();

  // The arguments as one folder path: joined by single blanks, unchanged.
  static std::string JoinCommandLine(const std::vector<std::string>& arguments);

 private:
  Desktop& desktop_;
  mapgen::PosixFileSystem fileSystem_;
  std::string CommandLine;
  std::unique_ptr<frmTessary> mainWindow_;
  std::unique_ptr<frmTessaryIntro> intro_;
  QPointer<frmAboutTessary> aboutBox_;
  bool ending_ = false;
};

}  // namespace tessary
