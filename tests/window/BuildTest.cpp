// Build from the window: options edited as a user edits them, the page on
// disk is the core's page for them, and the window's state around a build.
// Then what becomes of the built map: Preview, Save, Save As, the output
// name's Browse and Exit, with the files they leave on disk.
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>

#include "BuildPage.h"
#include "PosixFileSystem.h"
#include "WindowFixture.h"

namespace tessary {

class BuildTest : public QObject {
  Q_OBJECT

 private:
  static void MakeSite(const QString& base) {
    for (const char* name : {"index.html", "my page.htm"}) {
      QFile page(base + "/" + name);
      QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<title>P</title>"));
    }
  }

  // The pages in the base folder and below it, by their relative paths.
  static QStringList Pages(const QString& base) {
    QStringList found;
    QDirIterator files(base, {"sitemap.*", "other.*", ".sitemap*"},
                       QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) found << QDir(base).relativeFilePath(files.next());
    found.sort();
    return found;
  }

  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void buildWritesTheCorePage() {
    WindowFixture f;
    const QString base = f.base.path();
    MakeSite(base);
    f.window->lblToolbar_Click(1);
    QTest::keyClicks(f.find("txtTitle"), " <x>");
    f.click("optStyle(1)");
    f.click("chkSafeLinks");
    f.window->lblToolbar_Click(2);
    QTest::keyClicks(f.find("txtPreface"), "one");
    QTest::keyClick(f.find("txtPreface"), Qt::Key_Return);
    QTest::keyClicks(f.find("txtPreface"), "two");
    f.window->lblToolbar_Click(3);
    f.find<QComboBox>("cmbFont")->lineEdit()->clear();
    QTest::keyClicks(f.find<QComboBox>("cmbFont")->lineEdit(), "Courier");
    f.find<QCheckBox>("chkColor(3)")->setCheckState(Qt::PartiallyChecked);

    mapgen::MapSettings expected;
    expected.txtDir = base.toStdString();
    expected.txtTitle = "Site Map <x>";
    expected.optStyle = {false, true, false, false};
    expected.chkSafeLinks = 1;
    expected.txtPreface = "one\r\ntwo";
    expected.cmbFont = "Courier";
    expected.chkColor[3] = 2;
    QVERIFY(f.window->settings() == expected);

    f.click("cmdBuildMap");
    QVERIFY(f.find("shpProgressBorder")->isVisible());
    QTRY_VERIFY(!f.building());
    QFile written(base + "/sitemap.tmp");
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    mapgen::BuildObserver quiet;
    QCOMPARE(text.toStdString(),
             mapgen::BuildPage(expected, mapgen::PosixFileSystem(), quiet).mapText);
    QVERIFY(text.contains("href=\"my%20page.htm\""));
    QCOMPARE(f.commands(), "output");
    QCOMPARE(f.window->focusWidget(), f.find("cmdPreview"));
    QVERIFY(!f.find("shpProgressBorder")->isVisible());

    // Preview hands the browser the map's current file under a page's name:
    // the page just built as a hidden copy, gone with the Save, then the
    // saved output.
    f.fakes.launcher.startable = {"xdg-open"};
    f.click("cmdPreview");
    const QString copy = base + "/.sitemap-preview.html";
    QCOMPARE(Contents(copy), text);
    f.click("cmdSave");
    QVERIFY(!QFile::exists(copy));
    f.find<QAction>("mnuPreview")->trigger();
    const QString saved = base + "/sitemap.html";
    QCOMPARE(f.fakes.launcher.tried,
             (QStringList{"xdg-open|" + copy, "xdg-open|" + saved}));
  }

  // An edit while a build runs is not in its page: when the build ends the
  // map is out of date, and Build, from the button or the menu, builds it
  // anew.
  void changeDuringBuild() {
    WindowFixture f;
    MakeSite(f.base.path());
    f.click("cmdBuildMap");
    QTest::keyClicks(f.find("txtTitle"), " changed");
    QTRY_VERIFY(!f.building());
    QCOMPARE(f.commands(), "build");
    QVERIFY(!f.window->MapBuilt());
    const QString page = f.base.path() + "/sitemap.tmp";
    QVERIFY(!Contents(page).contains("Site Map changed"));
    QCOMPARE(f.window->TempMapPath(), page);
    f.find<QAction>("mnuBuildMap")->trigger();
    QTRY_VERIFY(!f.building());
    QCOMPARE(f.commands(), "output");
    QVERIFY(Contents(page).contains("Site Map changed"));
  }

  void outputNameAtBuild_data() {
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QString>("saved");  // where Save writes, in the base
    QTest::newRow("base folder alone: the typed name stays")
        << false << "mine.html";
    QTest::newRow("subfolders: the name follows the base folder")
        << true << "sitemap.html";
  }

  // A build that walks no subfolders leaves the name the user typed; a
  // relative name is taken from the base folder, wherever the program
  // was started.
  void outputNameAtBuild() {
    QFETCH(bool, subfolders);
    QFETCH(QString, saved);
    WindowFixture f;
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    f.find<QCheckBox>("chkShowSubfolders")->setChecked(subfolders);
    auto* name = f.find<QLineEdit>("txtMapFile");
    name->setText("mine.html");
    QVERIFY(f.Build());
    QCOMPARE(name->text(), subfolders ? f.base.path() + "/" + saved : saved);
    f.click("cmdSave");
    QVERIFY(QFile::exists(f.base.path() + "/" + saved));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
  }

  // While a build runs, edits mark the map out of date but Build stays
  // unavailable; Exit stops the build, and its page is never written.
  void duringBuild() {
    WindowFixture f;
    MakeSite(f.base.path());
    f.click("cmdBuildMap");
    QTest::keyClicks(f.find("txtTitle"), "x");
    QCOMPARE(f.commands(), "");
    f.click("cmdBuildMap");
    f.find<QAction>("mnuBuildMap")->trigger();
    f.click("cmdExit");
    QCOMPARE(f.programEnds, 1);
    QVERIFY(!f.building());
    QTest::qWait(100);
    QVERIFY(!QFile::exists(f.base.path() + "/sitemap.tmp"));
  }

  void failedBuild_data() {
    QTest::addColumn<QString>("broken");
    QTest::addColumn<QString>("reason");
    QTest::newRow("base folder gone") << "" << "No such file or directory";
    QTest::newRow("temporary file not writable") << "sitemap.tmp" << "Is a directory";
  }

  // A message, the progress hidden, nothing built, what stood in the way
  // left as it was, and Build works again.
  void failedBuild() {
    QFETCH(QString, broken);
    QFETCH(QString, reason);
    WindowFixture f;
    const QString base = f.base.path() + "/site";
    QVERIFY(QDir(f.base.path()).mkpath("site/sitemap.tmp"));
    f.change(base);
    if (broken.isEmpty()) QVERIFY(QDir(base).removeRecursively());

    f.click("cmdBuildMap");
    QTRY_VERIFY(!f.building());
    const QString brokenPath = broken.isEmpty() ? base : base + "/" + broken;
    QCOMPARE(f.messages(), QStringList{brokenPath + "\n" + reason});
    QVERIFY(!f.find("shpProgressBorder")->isVisible());
    QCOMPARE(f.commands(), "build");
    QVERIFY(f.window->TempMapPath().isEmpty());
    QCOMPARE(QFileInfo(base + "/sitemap.tmp").isDir(), !broken.isEmpty());

    QVERIFY(QDir(base).removeRecursively() && QDir().mkpath(base));
    f.change(base);
    QVERIFY(f.Build());
    QVERIFY(f.window->MapBuilt());
  }

  // Steps, the answer to the question at Exit, whether it was asked, and
  // the pages left on disk. Save As and Browse choose other.html, unless
  // the step before is "cancel"; "@name": the focus is on that control.
  void exitLeaves_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QStringList>("left");
    const QStringList none;
    const QStringList saved = {"sitemap.html"};
    const QStringList other = {"other.html"};
    const auto no = MessageAnswer::kNo;
    const auto yes = MessageAnswer::kYes;
    QTest::newRow("nothing built") << "" << no << false << none;
    QTest::newRow("built, not saved, No") << "build" << no << true << none;
    QTest::newRow("built, not saved, Yes") << "build" << yes << true << saved;
    QTest::newRow("built and saved") << "build save" << no << false << saved;
    QTest::newRow("changed after a build") << "build change" << yes << false << none;
    QTest::newRow("changed after a save")
        << "build save change" << yes << false << saved;
    QTest::newRow("saved twice") << "build save save" << no << false << saved;
    QTest::newRow("saved under a second name")
        << "build save saveas @cmdExit" << no << false << other + saved;
    QTest::newRow("Save As, cancelled")
        << "build cancel saveas @cmdPreview" << yes << true << saved;
    QTest::newRow("Browse before a build")
        << "browse @cmdBuildMap" << no << false << none;
    QTest::newRow("Browse after a build")
        << "build browse @cmdSave" << yes << true << other;
    QTest::newRow("Browse, cancelled")
        << "build cancel browse @cmdChangeOutputPath" << yes << true << saved;
    QTest::newRow("previewed, not saved, Yes")
        << "build preview" << yes << true << saved;
    QTest::newRow("built elsewhere after a build")
        << "build elsewhere build" << no << true << none;
    QTest::newRow("built elsewhere after a save")
        << "build save elsewhere build" << no << true << saved;
  }

  void exitLeaves() {
    QFETCH(QString, steps);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, asked);
    QFETCH(QStringList, left);
    WindowFixture f;
    const QString base = f.base.path();
    QVERIFY(QDir(base).mkdir("sub"));
    f.window->lblToolbar_Click(4);
    const auto cancelled = DialogOutcome::kCancelled;
    f.fakes.dialog.files = {{DialogOutcome::kChosen, base + "/other.html", {}}};
    QByteArray firstPage;
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
      if (step == "build") QVERIFY(f.Build());
      if (firstPage.isEmpty()) firstPage = Contents(f.window->TempMapPath());
      if (step == "save") f.click("cmdSave");
      if (step == "preview") f.fakes.launcher.startable = {"xdg-open"};
      if (step == "preview") f.click("cmdPreview");
      if (step == "saveas") f.find<QAction>("mnuSaveAs")->trigger();
      if (step == "browse") f.click("cmdChangeOutputPath");
      if (step == "cancel") f.fakes.dialog.files = {{cancelled, {}, {}}};
      if (step == "change") QTest::keyClicks(f.find("txtTitle"), "x");
      if (step == "elsewhere") f.change(base + "/sub");
      if (step[0] == '@') QCOMPARE(f.window->focusWidget(), f.find(step.mid(1)));
    }
    // The output name is asked for in a dialog for saving.
    QVERIFY(f.fakes.dialog.fileRequests.empty());
    for (const FileOpenRequest& request : f.fakes.dialog.saveRequests) {
      QCOMPARE(request.initialFileName, base + "/sitemap.html");
    }
    f.fakes.messageBoxes.answer = answer;
    f.click("cmdExit");

    QCOMPARE(f.programEnds, 1);
    // The question, if asked, is the only message: no save failed.
    QCOMPARE(f.messages().size(), asked ? 1 : 0);
    QCOMPARE(Pages(base), left);
    for (const QString& page : left) QCOMPARE(Contents(base + "/" + page), firstPage);
  }

  // The failure is shown and the name is focused for a fix; Exit, through
  // the command or the frame, asks again, and a failed save or Cancel
  // keeps the window.
  void saveIntoMissingFolder() {
    WindowFixture f;
    QVERIFY(f.Build());
    const QString output = f.base.path() + "/missing/sitemap.html";
    f.find<QLineEdit>("txtMapFile")->setText(output);
    f.click("cmdSave");
    const QString failure = output + "\nNo such file or directory";
    QCOMPARE(f.messages(), QStringList{failure});
    QCOMPARE(f.window->focusWidget(), f.find("txtMapFile"));

    f.fakes.messageBoxes.answer = MessageAnswer::kYes;
    f.click("cmdExit");
    f.window->close();
    const QString question = "Save generated file?";
    QCOMPARE(f.messages(),
             (QStringList{failure, question, failure, question, failure}));
    QCOMPARE(f.programEnds, 0);
    QVERIFY(f.window->isVisible());
    // Cancel keeps the program and the page.
    f.fakes.messageBoxes.answer = MessageAnswer::kCancel;
    f.click("cmdExit");
    QCOMPARE(f.messages().size(), 6);
    QCOMPARE(f.programEnds, 0);
    QVERIFY(QFile::exists(f.window->TempMapPath()));
    f.fakes.messageBoxes.answer = MessageAnswer::kNo;
    f.window->close();
    QCOMPARE(f.programEnds, 1);
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::BuildTest)
#include "BuildTest.moc"
