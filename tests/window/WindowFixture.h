#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "BuildRunner.h"
#include "FakeDesktop.h"
#include "frmTessary.h"

namespace tessary {

// A fresh main window on fake dialogs, loaded and showing an empty
// temporary folder as its base folder.
class WindowFixture {
 public:
  WindowFixture()
      : window(std::make_unique<frmTessary>(fakes.desktop,
                                            [this] { ++programEnds; })) {
    window->Form_Load(QString());
    QString reason;
    if (!window->ChangeFolder(base.path(), reason)) qFatal("no temporary folder");
    window->show();
  }

  // Presses Build and waits until the build has ended.
  bool Build() {
    QTest::mouseClick(find<QAbstractButton>("cmdBuildMap"), Qt::LeftButton);
    return QTest::qWaitFor(
        [this] { return !window->findChild<BuildRunner*>()->running(); });
  }

  template <typename Widget = QWidget>
  Widget* find(const QString& name) const {
    auto* widget = window->findChild<Widget*>(name);
    if (widget == nullptr) qFatal("no control %s", qPrintable(name));
    return widget;
  }

  // Which commands the window offers: "build" (Build and its menu item)
  // or "output" (Preview, Save, Save As, Edit Source), or a mixture.
  QString commands() const {
    QStringList on;
    for (const char* name : {"mnuBuildMap", "mnuPreview", "mnuSave",
                             "mnuSaveAs", "mnuEditSource"}) {
      if (find<QAction>(name)->isEnabled()) on << name;
    }
    for (const char* name : {"cmdBuildMap", "cmdPreview", "cmdSave"}) {
      if (find<QAbstractButton>(name)->isEnabled()) on << name;
    }
    const QString joined = on.join(' ');
    if (joined == "mnuBuildMap cmdBuildMap") return "build";
    if (joined == "mnuPreview mnuSave mnuSaveAs mnuEditSource cmdPreview cmdSave") {
      return "output";
    }
    return joined;
  }

  QTemporaryDir base;
  FakeDesktop fakes;
  int programEnds = 0;
  std::unique_ptr<frmTessary> window;
};

}  // namespace tessary
