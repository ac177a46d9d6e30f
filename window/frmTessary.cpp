#include "frmTessary.h"

#include <QAction>
#include <QEvent>
#include <QPushButton>

#include "BackgroundWork.h"
#include "FolderViews.h"
#include "Legibility.h"
#include "OpenBrowser.h"
#include "Twips.h"

namespace tessary {

frmTessary::frmTessary(Desktop& desktop, const mapgen::FileSystem& fs,
                       std::function<void()> endProgram, QWidget* parent)
    : QMainWindow(parent),
      desktop_(desktop),
      fs_(fs),
      endProgram_(std::move(endProgram)),
      work_(new BackgroundWork(this)),
      build_(work_->NewWatcher<WindowBuild>()),
      copy_(work_->NewWatcher<CopyOutcome>()),
      picture_(work_->NewWatcher<QImage>()),
      editors_(work_->NewWatcher<QList<QStringList>>()),
      central_(new QWidget(this)) {
  setObjectName("frmTessary");
  setWindowTitle(kAppTitle);
  setFont(NamedFont(kFormFont, 8.25));
  setCentralWidget(central_);
  InitTabStrip();
  InitCommandColumn();
  InitFolderTab();
  InitContentTab();
  InitTextTab();
  InitAppearanceTab();
  InitMapTab();
  InitPublishTab();
  InitMenus();
  InitOptionTracking();
  InitFolderSelection();
  InitBuild();
  InitOutputCommands();
  InitSettingsFiles();
  InitWarnings();
  InitFocusOrder();
  KeepReadable(this);
  InitGrowth();
  resize(minimumSizeHint());
}

// The captions on the tabs' own colours keep reading whatever the theme.
void frmTessary::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) KeepReadable(this);
  // Back from another program, which may have removed the base folder.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    CheckBaseFolder();
  }
}

frmTessary::~frmTessary() { AbandonBuild(); }

void frmTessary::Form_Load(const std::string& commandLine) {
  ChooseStartFolder();
  SetForNewMap(Dir1->path());
  MapBuilt_ = false;
  MapSaved_ = false;
  lblToolbar_Click(commandLine.empty() ? 0 : 4);
  InitStyleSamples();
}

void frmTessary::SetButtons(int mode) {
  if (mode == 1) {
    changedDuringBuild_ = changedDuringBuild_ || build_->isRunning();
    MapBuilt_ = false;
    MapSaved_ = false;
    // A running build keeps Build unavailable until it has ended; a base
    // folder that has gone, until another is chosen.
    const bool buildable = !build_->isRunning() && !baseGone_;
    cmdBuildMap->setEnabled(buildable);
    mnuBuildMap->setEnabled(buildable);
    SetOutputCommands(false);
  } else if (mode == 2) {
    MapBuilt_ = true;
    cmdBuildMap->setEnabled(false);
    mnuBuildMap->setEnabled(false);
    SetOutputCommands(true);
  }
}

void frmTessary::SetOutputCommands(bool enabled) {
  for (QAction* command : {mnuPreview, mnuSave, mnuSaveAs, mnuEditSource}) {
    command->setEnabled(enabled);
  }
  cmdPreview->setEnabled(enabled);
  cmdSave->setEnabled(enabled);
}

bool frmTessary::Chosen(const FileAnswer& answer) {
  if (answer.outcome == DialogOutcome::kFailed) {
    desktop_.messageBoxes.Show(this, {QString(), answer.error});
  }
  return answer.outcome == DialogOutcome::kChosen;
}

bool frmTessary::Idle() const { return work_->Idle(); }

void frmTessary::OpenBrowser(const QString& filename) {
  tessary::OpenBrowser(filename, desktop_, this);
}

}  // namespace tessary
