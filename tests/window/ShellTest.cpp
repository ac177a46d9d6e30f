// The browser chain, the command line, the welcome window, the help
// page's place and the About box.
#include <QFile>
#include <QLabel>

#include "HelpPage.h"
#include "Module1.h"
#include "OpenBrowser.h"
#include "WindowFixture.h"
#include "frmAboutTessary.h"
#include "frmTessaryIntro.h"

namespace tessary {

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void browserChain_data() {
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QStringList>("tried");
    QTest::newRow("desktop default")
        << QStringList{"xdg-open", "firefox"} << QStringList{"xdg-open"};
    QTest::newRow("a later browser")
        << QStringList{"firefox", "chromium"}
        << QStringList{"xdg-open", "sensible-browser", "x-www-browser", "firefox"};
  }

  void browserChain() {
    QFETCH(QStringList, startable);
    QFETCH(QStringList, tried);
    FakeDesktop fakes;
    fakes.launcher.startable = startable;
    OpenBrowser("/home/me/my site/sitemap.tmp", fakes.desktop, nullptr);
    QCOMPARE(qsizetype(fakes.launcher.tried.size()), tried.size());
    for (qsizetype i = 0; i < tried.size(); ++i) {
      QCOMPARE(fakes.launcher.tried.at(i),
               (QStringList{tried[i], "/home/me/my site/sitemap.tmp"}));
    }
    QVERIFY(fakes.dialog.fileRequests.empty());
  }

  void browserChosenByUser() {
    FakeDesktop fakes;
    fakes.launcher.startable = {"/opt/good"};
    fakes.dialog.files = {{DialogOutcome::kCancelled, {}, {}},
                          {DialogOutcome::kChosen, "/opt/good", {}},
                          {DialogOutcome::kChosen, "/opt/bad", {}},
                          {DialogOutcome::kFailed, {}, "No memory"}};
    for (int i = 0; i < 4; ++i) OpenBrowser("page", fakes.desktop, nullptr);

    QCOMPARE(fakes.dialog.fileRequests.at(0).initialFolder, "/usr/bin");
    QCOMPARE(fakes.launcher.tried.at(10), (QStringList{"/opt/good", "page"}));
    const std::vector<Message>& shown = fakes.messageBoxes.shown;
    QCOMPARE(int(shown.size()), 2);
    QCOMPARE(shown[0].title, "Cannot Open Selected Browser");
    QCOMPARE(shown[0].text, "No such file or directory");
    QCOMPARE(shown[1].title, "");
    QCOMPARE(shown[1].text, "No memory");
  }

  void commandLineIsOnePath() {
    QCOMPARE(Module1::JoinCommandLine({}), "");
    QCOMPARE(Module1::JoinCommandLine({"My", "Web", " Site"}), "My Web  Site");
    QCOMPARE(Module1::JoinCommandLine({"\"/a b\""}), "\"/a b\"");
  }

  void welcomeWindow() {
    FakeDesktop fakes;
    fakes.launcher.startable = {"xdg-open"};
    QWidget mainWindow;
    int ends = 0;
    frmTessaryIntro intro(fakes.desktop, mainWindow, [&ends] { ++ends; });
    intro.show();
    QTest::mouseClick(intro.findChild<QLabel*>("Image1"), Qt::LeftButton);
    QCOMPARE(fakes.launcher.tried.at(0),
             (QStringList{"xdg-open", "https://corvale.example"}));
    QVERIFY(intro.isVisible());

    QTest::mouseClick(intro.findChild<QAbstractButton*>("cmdStart"), Qt::LeftButton);
    QVERIFY(mainWindow.isVisible());
    QVERIFY(!intro.isVisible());
    QCOMPARE(ends, 0);
  }

  void closingWelcomeWindowEndsProgram() {
    FakeDesktop fakes;
    QWidget mainWindow;
    int ends = 0;
    frmTessaryIntro intro(fakes.desktop, mainWindow, [&ends] { ++ends; });
    intro.show();
    intro.close();
    QCOMPARE(ends, 1);
    QVERIFY(!mainWindow.isVisible());
  }

  // The build tree has the page beside the program, an installation in
  // ../share/tessary.
  void helpPageBesideOrInstalled() {
    QTemporaryDir prefix;
    const QString bin = prefix.path() + "/bin";
    const QString installed = prefix.path() + "/share/tessary/tessaryhelp.htm";
    QVERIFY(QDir(prefix.path()).mkpath("share/tessary"));
    QCOMPARE(HelpPagePath(bin), bin + "/tessaryhelp.htm");
    QVERIFY(QFile(installed).open(QIODevice::WriteOnly));
    QCOMPARE(HelpPagePath(bin), installed);
    QVERIFY(QDir(prefix.path()).mkpath("bin"));
    QVERIFY(QFile(bin + "/tessaryhelp.htm").open(QIODevice::WriteOnly));
    QCOMPARE(HelpPagePath(bin), bin + "/tessaryhelp.htm");
  }

  void aboutBoxOpensOnce() {
    WindowFixture f;
    f.find<QAction>("mnuAboutTessary")->trigger();
    f.find<QAction>("mnuAboutTessary")->trigger();
    const auto boxes = f.window->findChildren<frmAboutTessary*>();
    QCOMPARE(boxes.size(), qsizetype(1));
    QVERIFY(boxes[0]->isVisible());
    QCOMPARE(boxes[0]->findChild<QLabel*>("lblVersion")->text(), "Version 1.0.1");
    f.window->close();  // the program's end closes the box too
    QCOMPARE(f.programEnds, 1);
    QTRY_VERIFY(f.window->findChildren<frmAboutTessary*>().isEmpty());
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::ShellTest)
#include "ShellTest.moc"
