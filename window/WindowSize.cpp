// A window that grows: the designed size is the least it takes, and the
// room a larger window gives goes to the folder tree, the file list, the
// text boxes and the picture of the page; the command column keeps to the
// right edge.
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "FolderViews.h"
#include "PathEdit.h"
#include "Shape.h"
#include "frmTessary.h"

namespace tessary {
namespace {

constexpr Give kMoveRight = {1, 0, 0, 0};
constexpr Give kMoveDown = {0, 1, 0, 0};
constexpr Give kMoveBoth = {1, 1, 0, 0};
constexpr Give kWiden = {0, 0, 1, 0};
constexpr Give kGrow = {0, 0, 1, 1};

}  // namespace

void frmTessary::InitGrowth() {
  designedSize_ = QSize(Twips(kFormWidth), Twips(kFormHeight));
  central_->setMinimumSize(designedSize_);
  for (const char* line : {"lineMenuShadow", "lineMenuLight"}) {
    growth_.Add(central_->findChild<QWidget*>(line), kWiden);
  }
  growth_.Add(central_->findChild<QWidget*>("lineColumn"), {1, 0, 0, 1});
  const std::initializer_list<QWidget*> column = {
      lblCorvaleSoftware, Label3[0],         cmdBuildMap,
      cmdPreview,         cmdSave,           cmdExit,
      shpProgressBorder,  shpProgressPercent};
  for (QWidget* control : column) growth_.Add(control, kMoveRight);
  for (QFrame* frame : fraOptions) {
    growth_.Add(frame, kGrow);
    growth_.Add(frame->findChild<QWidget*>("lineTopEdge"), kWiden);
  }
  // Folder: the tree and the file list share the width; the list takes
  // the height above the notes below it.
  growth_.Add(Drive1, {0, 0, 0.5, 0});
  growth_.Add(Dir1, {0, 0, 0.5, 1});
  growth_.Add(File1, {0.5, 0, 0.5, 1});
  for (QWidget* note : {Label7, Label6, Label4, Label5}) {
    growth_.Add(note, {0.5, 1, 0, 0});
  }
  growth_.Add(Label9, kMoveDown);
  growth_.Add(lblSelectedFolder, {0, 1, 1, 0});
  growth_.Add(cmdOK, kMoveBoth);
  // Content: the title and the base folder take the width.
  growth_.Add(txtTitle, kWiden);
  growth_.Add(findChild<QGroupBox*>("Frame4"), kWiden);
  growth_.Add(txtDir, kWiden);
  growth_.Add(cmdChangeDirectory, kMoveRight);
  // Text: the preface and the appendix share the height.
  growth_.Add(txtPreface, {0, 0, 1, 0.5});
  for (QWidget* caption : {lblX[4], lblX[6]}) {
    growth_.Add(caption, {0, 0.5, 0, 0});
  }
  growth_.Add(txtAppendix, {0, 0.5, 1, 0.5});
  growth_.Add(lblX[7], kMoveDown);
  // Map: the picture of the page takes the room; the notes beside it and
  // the name below it follow.
  growth_.Add(shpMap, kGrow);
  growth_.Add(Image1, kGrow);
  for (int note : {5, 3, 4, 6}) growth_.Add(Label2[note], kMoveRight);
  const std::initializer_list<QWidget*> below = {Label2[2], Label2[0],
                                                 chkLockFilename};
  for (QWidget* control : below) growth_.Add(control, kMoveDown);
  growth_.Add(lblDir, {0, 1, 1, 0});
  growth_.Add(txtMapFile, {0, 1, 1, 0});
  growth_.Add(cmdChangeOutputPath, kMoveBoth);
  // Publish: the names to leave out take the height, the site's address
  // the width.
  growth_.Add(findChild<QGroupBox*>("Frame5"), {0, 0, 0, 1});
  growth_.Add(txtExclude, {0, 0, 0, 1});
  growth_.Add(findChild<QGroupBox*>("Frame8"), {0, 1, 1, 0});
  growth_.Add(txtSiteUrl, kWiden);
  growth_.Add(txtRobotsTxt, kWiden);
}

void frmTessary::FollowSize() {
  growth_.Apply(central_->size() - designedSize_);
}

}  // namespace tessary
