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
    click("cmdBuildMap");
    return QTest::qWaitFor([this] { return !building(); });
  }

  bool building() const { return window->findChild<BuildRunner*>()->running(); }

  void click(const QString& button) const {
    QTest::mouseClick(find<QAbstractButton>(button), Qt::LeftButton);
  }

  // Makes `folder` the base folder, as the folder tree does.
  void change(const QString& folder) {
    QString reason;
    QVERIFY2(window->ChangeFolder(folder, reason), qPrintable(reason));
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
    for (const char* name : {"cmdBuildMap", "mnuBuildMap", "cmdPreview", "mnuPreview",
                             "cmdSave", "mnuSave", "mnuSaveAs", "mnuEditSource"}) {
      if (find<QObject>(name)->property("enabled").toBool()) on << name;
    }
    const QString joined = on.join(' ');
    if (joined == "cmdBuildMap mnuBuildMap") return "build";
    if (joined == "cmdPreview mnuPreview cmdSave mnuSave mnuSaveAs mnuEditSource") {
      return "output";
    }
    return joined;
  }

  QStringList messages() const { return fakes.messageBoxes.texts(); }

  QTemporaryDir base;
  FakeDesktop fakes;
  int programEnds = 0;
  std::unique_ptr<frmTessary> window;
};

}  // namespace tessary
