// The menu bar: the commands of the buttons again, and a key for each tab.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "frmTessary.h"

namespace tessary {
namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

QAction* AddItem(QMenu* menu, const char* name, const char* caption,
                 const QKeySequence& shortcut = {}) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  item->setShortcut(shortcut);
  return item;
}

}  // namespace

void frmTessary::InitMenus() {
  QMenu* mnuFile = AddMenu(menuBar(), "mnuFile", "&File");
  mnuBuildMap =
      AddItem(mnuFile, "mnuBuildMap", "Build Map", Qt::CTRL | Qt::Key_B);
  mnuPreview = AddItem(mnuFile, "mnuPreview", "Preview", Qt::CTRL | Qt::Key_P);
  mnuSave = AddItem(mnuFile, "mnuSave", "&Save", Qt::CTRL | Qt::Key_S);
  mnuSaveAs =
      AddItem(mnuFile, "mnuSaveAs", "Save &As ...     ", Qt::CTRL | Qt::Key_A);
  mnuOpenSettings = AddItem(mnuFile, "mnuOpenSettings", "Open Settings…");
  mnuSaveSettings = AddItem(mnuFile, "mnuSaveSettings", "Save Settings…");
  mnuExit = AddItem(mnuFile, "mnuExit", "E&xit", Qt::CTRL | Qt::Key_X);
  connect(mnuBuildMap, &QAction::triggered, this,
          &frmTessary::cmdBuildMap_Click);

  QMenu* mnuEdit = AddMenu(menuBar(), "mnuEdit", "&Edit");
  mnuFolder = AddItem(mnuEdit, "mnuFolder", "Set Folder", Qt::Key_F5);
  mnuContent =
      AddItem(mnuEdit, "mnuContent", "Set Display Content ", Qt::Key_F6);
  mnuText = AddItem(mnuEdit, "mnuText", "Add Text", Qt::Key_F7);
  mnuAppearance =
      AddItem(mnuEdit, "mnuAppearance", "Set Appearance Options", Qt::Key_F8);
  mnuMap = AddItem(mnuEdit, "mnuMap", "View Map Layout", Qt::Key_F9);
  mnuPublish =
      AddItem(mnuEdit, "mnuPublish", "Set Publishing Options", Qt::Key_F10);
  mnuEditSource =
      AddItem(mnuEdit, "mnuEditSource", "Edit Source", Qt::CTRL | Qt::Key_R);
  const QAction* tabItems[] = {mnuFolder,     mnuContent, mnuText,
                               mnuAppearance, mnuMap,     mnuPublish};
  for (int i = 0; i < kTabs; ++i) {
    connect(tabItems[i], &QAction::triggered, this,
            [this, i] { lblToolbar_Click(i); });
  }

  QMenu* mnuAbout = AddMenu(menuBar(), "mnuAbout", "&Help");
  mnuHelp = AddItem(mnuAbout, "mnuHelp", "Help", Qt::Key_F1);
  mnuAboutTessary = AddItem(mnuAbout, "mnuAboutTessary", "About Tessary");
}

}  // namespace tessary
