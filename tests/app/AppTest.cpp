// The program around the main window: the welcome window, the About box
// and what it starts, and the program's end.
#include <sys/stat.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "FakeDesktop.h"
#include "Module1.h"
#include "TempFolder.h"
#include "frmAboutTessary.h"
#include "frmTessary.h"
#include "frmTessaryIntro.h"

namespace tessary {

class AppTest : public QObject {
  Q_OBJECT

  // The main window whose base folder is `folder`, if there is one.
  static frmTessary* WindowOn(const std::string& folder) {
    for (QWidget* shown : QApplication::topLevelWidgets()) {
      auto* main = qobject_cast<frmTessary*>(shown);
      if (main != nullptr && main->settings().txtDir == folder) return main;
    }
    return nullptr;
  }

 private slots:
  // The picture opens the maker's page; Start shows the main window, while
  // closing the welcome window ends the program.
  void welcomeWindow() {
    FakeDesktop fakes;
    fakes.launcher.startable = {"xdg-open"};
    QWidget mainWindow;
    int ends = 0;
    frmTessaryIntro intro(fakes.desktop, mainWindow, [&ends] { ++ends; });
    intro.show();
    QTest::mouseClick(intro.findChild<QLabel*>("Image1"), Qt::LeftButton);
    QCOMPARE(fakes.launcher.tried, QStringList{"xdg-open|https://corvale.example"});
    auto* start = intro.findChild<QAbstractButton*>("cmdStart");
    QTest::keyClick(start, Qt::Key_Return);
    QVERIFY(mainWindow.isVisible() && !intro.isVisible());
    QCOMPARE(ends, 0);

    frmTessaryIntro closed(fakes.desktop, mainWindow, [&ends] { ++ends; });
    closed.show();
    closed.close();
    QCOMPARE(ends, 1);
  }

  // No word of the About box's texts stands twice in a row.
  void aboutText() {
    FakeDesktop fakes;
    frmAboutTessary box(fakes.desktop, nullptr);
    const QRegularExpression doubled("\\b(\\w+)\\s+\\1\\b");
    for (const QLabel* label : box.findChildren<QLabel*>()) {
      QVERIFY2(!label->text().contains(doubled), qPrintable(label->text()));
    }
  }

  // What each click of the About box starts: the first program of its
  // chain that starts; with none, the message, if any.
  void aboutBoxStarts_data() {
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QStringList>("tried");
    QTest::addColumn<QString>("message");
    const QString mail =
        "xdg-email|--subject|Request-Information|"
        "info@corvale.example";
    const QString mailto = "xdg-open|mailto:info@corvale.example?subject=Request-Information";
    QTest::newRow("system information")
        << "cmdSysInfo" << QStringList{"hardinfo"} << QStringList{"hardinfo2", "hardinfo"} << "";
    QTest::newRow("no system information") << "cmdSysInfo" << QStringList{} << QStringList{}
                                           << "System Information Is Unavailable At This Time";
    QTest::newRow("mail") << "lblEmail" << QStringList{"xdg-email", "xdg-open"} << QStringList{mail}
                          << "";
    QTest::newRow("no mail program: the address is shown")
        << "lblEmail" << QStringList{} << QStringList{mail, mailto} << "";
  }

  void aboutBoxStarts() {
    QFETCH(QString, clicked);
    QFETCH(QStringList, startable);
    QFETCH(QStringList, tried);
    QFETCH(QString, message);
    FakeDesktop fakes;
    fakes.launcher.startable = startable;
    frmAboutTessary box(fakes.desktop, nullptr);
    box.show();
    QTest::mouseClick(box.findChild<QWidget*>(clicked), Qt::LeftButton);
    if (!tried.isEmpty()) QCOMPARE(fakes.launcher.tried, tried);
    QCOMPARE(fakes.messageBoxes.texts.join(""), message);
  }

  // The command line names the base folder, or is said to be wrong. One
  // About box however often it is asked for; the program's end closes it and every window, and
  // abandons a running build, which leaves no page.
  void endProgram() {
    FakeDesktop fakes;
    QTemporaryDir top;
    const QString site = top.filePath("my  site");
    QVERIFY(QDir().mkdir(site));
    QVERIFY(QFile(site + "/a.html").open(QIODevice::WriteOnly));
    Module1 wrong(fakes.desktop);
    wrong.Main({("\"" + site + "\"").toStdString()});
    QCOMPARE(fakes.messageBoxes.texts, QStringList{"User's command line is in error:\n"
                                                   "No such file or directory"});
    wrong.EndProgram();
    // The bytes of the command line name the folder, UTF-8 or not.
    const std::string odd = QFile::encodeName(top.path()).toStdString() + "/caf\xe9";
    const mapgen::testing_support::RemovedAtEnd removed(odd);
    QVERIFY(::mkdir(odd.c_str(), 0755) == 0);
    Module1 bytes(fakes.desktop);
    bytes.Main({odd});
    QCOMPARE(fakes.messageBoxes.texts.size(), 1);
    QVERIFY(WindowOn(odd) != nullptr);
    bytes.EndProgram();
    Module1 program(fakes.desktop);
    // The arguments, joined by blanks, are one path; given, it opens the
    // Map tab.
    program.Main({top.filePath("my").toStdString(), " site"});
    frmTessary* window = WindowOn(site.toStdString());
    QVERIFY(window != nullptr);
    QVERIFY(window->findChild<QWidget*>("fraOptions(4)")->isVisibleTo(window));
    window->show();
    for (int i = 0; i < 2; ++i) {
      window->findChild<QAction*>("mnuAboutTessary")->trigger();
    }
    const auto boxes = window->findChildren<frmAboutTessary*>();
    QCOMPARE(boxes.size(), qsizetype(1));
    QVERIFY(boxes[0]->isVisible());
    QTest::mouseClick(window->findChild<QPushButton*>("cmdBuildMap"), Qt::LeftButton);

    program.EndProgram();
    program.EndProgram();
    QTRY_VERIFY(window->Idle());
    QTRY_VERIFY(window->findChildren<frmAboutTessary*>().isEmpty());
    for (QWidget* shown : QApplication::topLevelWidgets()) {
      QVERIFY2(!shown->isVisible(), qPrintable(shown->objectName()));
    }
    QCOMPARE(QDir(site).entryList(QDir::Files), QStringList{"a.html"});
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::AppTest)
#include "AppTest.moc"
