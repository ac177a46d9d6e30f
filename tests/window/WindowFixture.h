#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "FakeDesktop.h"
#include "FaultInjectingFileSystem.h"
#include "PosixFileSystem.h"
#include "frmTessary.h"

namespace tessary {

// A fresh main window on the desktop fakes and the disk, where a test can
// make chosen calls fail, loaded and showing an empty temporary folder as
// its base folder.
class WindowFixture {
 public:
  explicit WindowFixture(std::vector<Drive> drives = {{"/", "/"}}) {
    fakes.drives.list = std::move(drives);
    window = std::make_unique<frmTessary>(fakes.desktop, fileSystem, [this] { ++programEnds; });
    window->Form_Load({});
    change(base.path());
    window->show();
  }

  // Presses Build and waits until the build has ended.
  bool Build() {
    click("cmdBuildMap");
    return idle();
  }

  // Waits until the window's work off its thread has ended.
  bool idle() const {
    return QTest::qWaitFor([this] { return window->Idle(); });
  }

  void click(const QString& button) const {
    QTest::mouseClick(find<QAbstractButton>(button), Qt::LeftButton);
  }

  // Makes `folder` the base folder, as the folder tree does.
  void change(const QString& folder) {
    QString reason;
    QVERIFY2(window->ChangeFolder(folder.toStdString(), reason), qPrintable(reason));
  }

  // The map's current file, the built page or the saved one.
  QString page() const { return QString::fromStdString(window->TempMapPath()); }

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
    for (const char* name : {"cmdBuildMap", "mnuBuildMap", "cmdPreview", "mnuPreview", "cmdSave",
                             "mnuSave", "mnuSaveAs", "mnuEditSource"}) {
      if (find<QObject>(name)->property("enabled").toBool()) on << name;
    }
    const QString joined = on.join(' ');
    if (joined == "cmdBuildMap mnuBuildMap") return "build";
    return joined.startsWith("cmdPreview") && on.size() == 6 ? "output" : joined;
  }

  QStringList messages() const { return fakes.messageBoxes.texts; }

  QTemporaryDir base;
  mapgen::PosixFileSystem disk;
  mapgen::FaultInjectingFileSystem fileSystem{disk};
  FakeDesktop fakes;
  int programEnds = 0;
  std::unique_ptr<frmTessary> window;
};

}  // namespace tessary
