// Build from the window: the page on disk is the core's page for the
// window's options, and the window returns to its state for a built map.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include "BuildRunner.h"
#include "PosixFileSystem.h"
#include "WindowFixture.h"

namespace tessary {

class BuildTest : public QObject {
  Q_OBJECT

 private:
  static void MakeSite(const QString& base) {
    QDir(base).mkpath("docs/old");
    const std::pair<const char*, const char*> files[] = {
        {"index.html", "<html><title>Home</title>"},
        {"notes.txt", "x"},
        {"docs/guide.pdf", "x"},
        {"docs/old/page.htm", "<TITLE>Old page</TITLE>"},
        {"my page.htm", "<title>Mine</title>"}};
    for (const auto& [name, text] : files) {
      QFile file(base + "/" + name);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(text);
    }
  }

  static bool BuildEnded(const WindowFixture& f) {
    return !f.window->findChild<BuildRunner*>()->running();
  }

 private slots:
  void buildWritesTheCorePage() {
    WindowFixture f;
    const QString base = f.base.path();
    MakeSite(base);
    f.find<QLineEdit>("txtTitle")->setText("Our <site>");
    f.find<QPlainTextEdit>("txtPreface")->setPlainText("line 1\nline 2");
    f.find<QCheckBox>("chkBullets")->setChecked(true);
    f.find<QCheckBox>("chkColor(5)")->setChecked(true);
    f.find<QComboBox>("cmbFont")->setEditText("Courier");
    f.find<QAbstractButton>("optStyle(1)")->setChecked(true);
    f.find<QCheckBox>("chkSafeLinks")->setChecked(true);

    mapgen::MapSettings expected;
    expected.txtDir = base.toStdString();
    expected.txtTitle = "Our <site>";
    expected.txtPreface = "line 1\r\nline 2";
    expected.chkBullets = 1;
    expected.chkColor[5] = 1;
    expected.cmbFont = "Courier";
    expected.optStyle = {false, true, false, false};
    expected.chkSafeLinks = 1;
    mapgen::BuildObserver quiet;
    const mapgen::BuildResult page =
        mapgen::BuildMap(expected, mapgen::PosixFileSystem(), quiet);

    QTest::mouseClick(f.find<QAbstractButton>("cmdBuildMap"), Qt::LeftButton);
    QVERIFY(f.find("shpProgressBorder")->isVisible());
    QTRY_VERIFY(BuildEnded(f));

    QFile written(base + "/sitemap.tmp");
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    QCOMPARE(text.toStdString(), page.mapText);
    QVERIFY(text.contains("href=\"my%20page.htm\""));
    QCOMPARE(f.window->TempMapPath(), base + "/sitemap.tmp");
    QCOMPARE(f.commands(), "output");
    QVERIFY(f.window->MapBuilt());
    QCOMPARE(f.window->focusWidget(), f.find("cmdPreview"));
    QVERIFY(!f.find("shpProgressBorder")->isVisible());
    QVERIFY(!f.find("shpProgressPercent")->isVisible());
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), base);

    QTest::keyClicks(f.find("txtTitle"), "!");
    QCOMPARE(f.commands(), "build");
    QVERIFY(!f.window->MapBuilt());
  }

  void buildCannotStartTwice() {
    WindowFixture f;
    MakeSite(f.base.path());
    QSignalSpy ended(f.window->findChild<BuildRunner*>(), &BuildRunner::finished);
    auto* build = f.find<QAbstractButton>("cmdBuildMap");
    QTest::mouseClick(build, Qt::LeftButton);
    QTest::keyClicks(f.find("txtTitle"), "x");  // marks the map out of date
    QCOMPARE(f.commands(), "");
    QTest::mouseClick(build, Qt::LeftButton);
    f.find<QAction>("mnuBuildMap")->trigger();
    QTRY_VERIFY(BuildEnded(f));
    QTest::qWait(100);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(f.commands(), "output");
  }

  void failedBuild_data() {
    QTest::addColumn<QString>("broken");
    QTest::addColumn<QString>("reason");
    QTest::newRow("base folder gone") << "" << "No such file or directory";
    QTest::newRow("temporary file not writable") << "sitemap.tmp" << "Is a directory";
  }

  void failedBuild() {
    QFETCH(QString, broken);
    QFETCH(QString, reason);
    WindowFixture f;
    const QString base = f.base.path() + "/site";
    QString error;
    QVERIFY(QDir(f.base.path()).mkpath("site/sitemap.tmp"));
    QVERIFY(f.window->ChangeFolder(base, error));
    const QString brokenPath = broken.isEmpty() ? base : base + "/" + broken;
    if (broken.isEmpty()) QVERIFY(QDir(base).removeRecursively());

    QTest::mouseClick(f.find<QAbstractButton>("cmdBuildMap"), Qt::LeftButton);
    QTRY_VERIFY(BuildEnded(f));

    QCOMPARE(int(f.fakes.messageBoxes.shown.size()), 1);
    QCOMPARE(f.fakes.messageBoxes.shown[0].text, brokenPath + "\n" + reason);
    QVERIFY(!f.find("shpProgressBorder")->isVisible());
    QCOMPARE(f.commands(), "build");
    QVERIFY(!f.window->MapBuilt());
    QVERIFY(f.window->TempMapPath().isEmpty());
    QCOMPARE(QFileInfo(base + "/sitemap.tmp").isDir(), !broken.isEmpty());

    QVERIFY(QDir(base).removeRecursively() && QDir().mkpath(base));
    QVERIFY(f.window->ChangeFolder(base, error));
    QVERIFY(f.Build());
    QVERIFY(f.window->MapBuilt());
  }

  void exitDuringBuildWritesNothing() {
    WindowFixture f;
    MakeSite(f.base.path());
    QTest::mouseClick(f.find<QAbstractButton>("cmdBuildMap"), Qt::LeftButton);
    QTest::mouseClick(f.find<QAbstractButton>("cmdExit"), Qt::LeftButton);
    QCOMPARE(f.programEnds, 1);
    QVERIFY(BuildEnded(f));
    QTest::qWait(100);
    QVERIFY(!QFile::exists(f.base.path() + "/sitemap.tmp"));
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::BuildTest)
#include "BuildTest.moc"
