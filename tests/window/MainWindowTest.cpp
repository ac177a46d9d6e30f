// The main window as it starts, its tab switch and its hover highlight.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "Colours.h"
#include "Twips.h"
#include "WindowFixture.h"

namespace tessary {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static void Hover(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }

  static int ActiveTab(const WindowFixture& f) {
    int active = -1;
    for (int i = 0; i < 5; ++i) {
      const auto* frame = f.find(Indexed("fraOptions", i));
      const bool front = frame->isVisible();
      const bool coloured =
          BackColor(f.find(Indexed("lblToolbar", i))) == BackColor(frame);
      if (front != coloured) return -2;
      if (front) active = active == -1 ? i : -2;
    }
    return active;
  }

 private slots:
  void startState() {
    WindowFixture f;
    const QString base = f.base.path();
    QCOMPARE(f.commands(), "build");
    QVERIFY(!f.window->MapBuilt());
    QCOMPARE(ActiveTab(f), 0);
    QVERIFY(!f.find("shpProgressBorder")->isVisible());
    for (const char* name : {"txtDir", "txtMapFile"}) {
      QVERIFY(f.find<QLineEdit>(name)->text().startsWith(base));
    }
    QCOMPARE(f.find<QLineEdit>("txtMapFile")->text(), base + "/sitemap.html");
    QCOMPARE(f.find<QLabel>("lblDir")->text(), base);
    QCOMPARE(f.find<QLabel>("lblSelectedFolder")->text(), base);
    for (const char* name : {"txtImage", "cmdFindImage", "txtBannerImage",
                             "cmdImageBrowse", "cmbBannerAlign", "lblX(0)"}) {
      QVERIFY2(!f.find(name)->isEnabled(), name);
    }
    QVERIFY(f.find("chkShowEmpties")->isEnabled());

    mapgen::MapSettings expected;
    expected.txtDir = base.toStdString();
    QVERIFY(f.window->settings() == expected);
  }

  void commandLine() {
    WindowFixture f;
    f.window->Form_Load("given");
    QCOMPARE(ActiveTab(f), 4);

    const QString before = f.find<QLineEdit>("txtDir")->text();
    f.window->OpenCommandLine("\"" + f.base.path() + "\"");
    QCOMPARE(int(f.fakes.messageBoxes.shown.size()), 1);
    const Message& error = f.fakes.messageBoxes.shown[0];
    QCOMPARE(error.title, "Tessary");
    QCOMPARE(error.text, "User's command line is in error:\nNo such file or directory");
    QCOMPARE(error.icon, MessageIcon::kExclamation);
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), before);

    QVERIFY(QDir(f.base.path()).mkdir("my site"));
    QDir::setCurrent(f.base.path());
    f.window->OpenCommandLine("my site");
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), f.base.path() + "/my site");
  }

  void tabSwitch_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<mapgen::Colour>("colour");
    QTest::newRow("Folder") << 0 << mapgen::Colour{0x00E8FFFF};
    QTest::newRow("Content") << 1 << mapgen::Colour{0x00FFF4DF};
    QTest::newRow("Text") << 2 << mapgen::Colour{0x00FAFFEC};
    QTest::newRow("Appearance") << 3 << mapgen::Colour{0x00F0FFF0};
    QTest::newRow("Map") << 4 << mapgen::Colour{0x00FFFFFE};
  }

  void tabSwitch() {
    QFETCH(int, tab);
    QFETCH(mapgen::Colour, colour);
    WindowFixture f;
    f.find("cmdExit")->setFocus();
    QTest::mouseClick(f.find(Indexed("lblToolbar", tab)), Qt::LeftButton);
    QCOMPARE(ActiveTab(f), tab);
    for (int i = 0; i < 5; ++i) {
      const auto* label = f.find(Indexed("lblToolbar", i));
      QCOMPARE(BackColor(label), i == tab ? colour : kLightGrey);
      QCOMPARE(f.find(Indexed("fraOptions", i))->pos(), QPoint(0, Twips(240)));
    }
    QCOMPARE(f.find("fraOptions(0)")->width(), Twips(8055));
    QCOMPARE(f.window->focusWidget(), f.find(tab == 4 ? "cmdBuildMap" : "cmdExit"));
  }

  void otherWaysToSwitch() {
    WindowFixture f;
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_F7);
    QCOMPARE(ActiveTab(f), 2);
    QTest::keyClick(f.window.get(), Qt::Key_F9);
    QCOMPARE(ActiveTab(f), 4);
    QTest::mouseClick(f.find("lblDir"), Qt::LeftButton);
    QCOMPARE(ActiveTab(f), 0);
    QCOMPARE(f.window->focusWidget(), f.find("Dir1"));
    QTest::mouseClick(f.find<QAbstractButton>("cmdOK"), Qt::LeftButton);
    QCOMPARE(ActiveTab(f), 4);
    f.find<QAction>("mnuContent")->trigger();
    QTest::mouseClick(f.find<QAbstractButton>("cmdChangeDirectory"), Qt::LeftButton);
    QCOMPARE(ActiveTab(f), 0);
  }

  void hover() {
    WindowFixture f;
    f.window->lblToolbar_Click(1);
    auto label = [&](int i) { return f.find(Indexed("lblToolbar", i)); };

    Hover(label(3));
    QCOMPARE(ForeColor(label(3)), kBlue);
    QCOMPARE(BackColor(label(3)), kWhite);
    Hover(label(1));  // the active tab keeps its colour
    QCOMPARE(ForeColor(label(1)), kBlue);
    QCOMPARE(BackColor(label(1)), mapgen::Colour{0x00FFF4DF});
    QCOMPARE(ForeColor(label(3)), kBlack);
    QCOMPARE(BackColor(label(3)), kLightGrey);

    Hover(label(4));
    Hover(f.find("fraOptions(1)"));
    QCOMPARE(ForeColor(label(4)), kBlack);
    QCOMPARE(BackColor(label(4)), kLightGrey);

    Hover(label(2));
    Hover(f.window->centralWidget());
    QCOMPARE(ForeColor(label(2)), kBlack);
    QCOMPARE(BackColor(label(2)), kLightGrey);
    QCOMPARE(BackColor(label(1)), mapgen::Colour{0x00FFF4DF});
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::MainWindowTest)
#include "MainWindowTest.moc"
