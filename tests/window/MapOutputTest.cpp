// Save, Save As, the output name's Browse, Preview, Help and Exit, with the
// files they leave on disk.
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>

#include "WindowFixture.h"

namespace tessary {

class MapOutputTest : public QObject {
  Q_OBJECT

 private:
  // The pages in the base folder and below it, by their relative paths.
  static QStringList Pages(const QString& base) {
    QStringList found;
    QDirIterator files(base, {"sitemap.*", "other.*"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) found << QDir(base).relativeFilePath(files.next());
    found.sort();
    return found;
  }

  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  static void Click(const WindowFixture& f, const char* button) {
    QTest::mouseClick(f.find<QAbstractButton>(button), Qt::LeftButton);
  }

 private slots:
  void exitLeaves_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QStringList>("left");
    const QStringList none;
    const QStringList saved = {"sitemap.html"};
    const auto no = MessageAnswer::kNo;
    const auto yes = MessageAnswer::kYes;
    QTest::newRow("nothing built") << "" << no << false << none;
    QTest::newRow("built, not saved, No") << "build" << no << true << none;
    QTest::newRow("built, not saved, Yes") << "build" << yes << true << saved;
    QTest::newRow("built and saved") << "build save" << no << false << saved;
    QTest::newRow("changed after a build") << "build change" << yes << false << none;
    QTest::newRow("changed after a save")
        << "build save change" << yes << false << saved;
    QTest::newRow("saved twice under one name")
        << "build save save" << no << false << saved;
    QTest::newRow("saved under a second name")
        << "build save saveas" << no << false
        << QStringList{"other.html", "sitemap.html"};
    QTest::newRow("built in another folder after a build")
        << "build elsewhere build" << no << true << none;
    QTest::newRow("built in another folder after a save")
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
    f.fakes.dialog.files = {{DialogOutcome::kChosen, base + "/other.html", {}}};
    QByteArray firstPage;
    QString reason;
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
      if (step == "build") QVERIFY(f.Build());
      if (firstPage.isEmpty()) firstPage = Contents(f.window->TempMapPath());
      if (step == "save") Click(f, "cmdSave");
      if (step == "saveas") f.find<QAction>("mnuSaveAs")->trigger();
      if (step == "change") QTest::keyClicks(f.find("txtTitle"), "x");
      if (step == "elsewhere") QVERIFY(f.window->ChangeFolder(base + "/sub", reason));
    }
    f.fakes.messageBoxes.answer = answer;
    Click(f, "cmdExit");

    QCOMPARE(f.programEnds, 1);
    // The question, if asked, is the only message: no save failed.
    QCOMPARE(int(f.fakes.messageBoxes.shown.size()), asked ? 1 : 0);
    QCOMPARE(Pages(base), left);
    for (const QString& page : left) QCOMPARE(Contents(base + "/" + page), firstPage);
  }

  void saveIntoMissingFolder() {
    WindowFixture f;
    QVERIFY(f.Build());
    const QString output = f.base.path() + "/missing/sitemap.html";
    f.find<QLineEdit>("txtMapFile")->setText(output);
    Click(f, "cmdSave");
    const std::vector<Message>& shown = f.fakes.messageBoxes.shown;
    QCOMPARE(shown.at(0).title, "Problem with file");
    QCOMPARE(shown.at(0).text, output + "\nNo such file or directory");
    QCOMPARE(f.window->focusWidget(), f.find("txtMapFile"));

    // Yes tries the same name again and fails: the window stays, through
    // Exit as through its frame.
    f.fakes.messageBoxes.answer = MessageAnswer::kYes;
    Click(f, "cmdExit");
    f.window->close();
    QCOMPARE(int(shown.size()), 5);
    QCOMPARE(shown.at(3).title, "Unsaved site map");
    QCOMPARE(f.programEnds, 0);
    QVERIFY(f.window->isVisible());
    f.fakes.messageBoxes.answer = MessageAnswer::kNo;
    f.window->close();
    QCOMPARE(f.programEnds, 1);
    QVERIFY(!f.window->isVisible());
  }

  void chooseOutputName_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("built");
    QTest::addColumn<DialogOutcome>("outcome");
    QTest::addColumn<QString>("focus");
    const auto chosen = DialogOutcome::kChosen;
    const auto cancelled = DialogOutcome::kCancelled;
    QTest::newRow("Save As") << "mnuSaveAs" << true << chosen << "cmdExit";
    QTest::newRow("Save As, cancelled")
        << "mnuSaveAs" << true << cancelled << "chkLockFilename";
    QTest::newRow("Browse before a build")
        << "cmdChangeOutputPath" << false << chosen << "cmdBuildMap";
    QTest::newRow("Browse after a build")
        << "cmdChangeOutputPath" << true << chosen << "cmdSave";
    QTest::newRow("Browse, cancelled")
        << "cmdChangeOutputPath" << true << cancelled << "cmdChangeOutputPath";
  }

  void chooseOutputName() {
    QFETCH(QString, command);
    QFETCH(bool, built);
    QFETCH(DialogOutcome, outcome);
    QFETCH(QString, focus);
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    if (built) QVERIFY(f.Build());
    auto* name = f.find<QLineEdit>("txtMapFile");
    const QString before = name->text();
    const QString other = f.base.path() + "/other.html";
    f.fakes.dialog.files = {{outcome, other, {}}};
    f.find("chkLockFilename")->setFocus();
    if (command == "mnuSaveAs") f.find<QAction>("mnuSaveAs")->trigger();
    else Click(f, "cmdChangeOutputPath");

    QCOMPARE(f.fakes.dialog.fileRequests.at(0).title, "Save output map as ...");
    QCOMPARE(f.fakes.dialog.fileRequests.at(0).initialFileName, before);
    QCOMPARE(name->text(), outcome == DialogOutcome::kChosen ? other : before);
    QCOMPARE(f.window->focusWidget(), f.find(focus));
    const bool saved = focus == "cmdExit";
    QCOMPARE(QFile::exists(other), saved);
    QCOMPARE(f.window->MapSaved(), saved);
  }

  void previewShowsTheCurrentFile() {
    WindowFixture f;
    f.fakes.launcher.startable = {"xdg-open"};
    const std::vector<QStringList>& started = f.fakes.launcher.tried;
    QVERIFY(f.Build());
    Click(f, "cmdPreview");
    QCOMPARE(started.back(), (QStringList{"xdg-open", f.base.path() + "/sitemap.tmp"}));
    Click(f, "cmdSave");
    f.find<QAction>("mnuPreview")->trigger();
    QCOMPARE(started.back(), (QStringList{"xdg-open", f.base.path() + "/sitemap.html"}));
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::MapOutputTest)
#include "MapOutputTest.moc"
