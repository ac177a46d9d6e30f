#include "Module1.h"

#include <QCoreApplication>

#include "frmAboutTessary.h"
#include "frmTessary.h"
#include "frmTessaryIntro.h"

namespace tessary {

Module1::Module1(Desktop& desktop) : desktop_(desktop) {}

Module1::~Module1() = default;

std::string Module1::JoinCommandLine(
    const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (&argument != &arguments.front()) line += ' ';
    line += argument;
  }
  return line;
}

void Module1::Main(const std::vector<std::string>& arguments) {
  CommandLine = JoinCommandLine(arguments);
  const auto end = [this] { EndProgram(); };
  mainWindow_ = std::make_unique<frmTessary>(desktop_, fileSystem_, end);
  QObject::connect(mainWindow_.get(), &frmTessary::aboutRequested,
                   mainWindow_.get(), [this] { ShowAbout(); });
  intro_ = std::make_unique<frmTessaryIntro>(desktop_, *mainWindow_, end);
  intro_->show();
  mainWindow_->Form_Load(CommandLine);
  if (!CommandLine.empty()) mainWindow_->OpenCommandLine(CommandLine);
}

void Module1::EndProgram() {
  if (ending_) return;
  ending_ = true;
  // The main window stops its build as it closes; the windows themselves
  // go when the program object does, after the event loop has ended.
  if (aboutBox_ != nullptr) aboutBox_->close();
  mainWindow_->close();
  intro_->close();
  QCoreApplication::exit(0);
}

void Module1::ShowAbout() {
  if (aboutBox_ == nullptr) {
    aboutBox_ = new frmAboutTessary(desktop_, mainWindow_.get());
  }
  aboutBox_->show();
  aboutBox_->raise();
  aboutBox_->activateWindow();
}

}  // namespace tessary
