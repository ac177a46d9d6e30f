// Build from the window: options edited as a user edits them, the page on
// disk is the core's page for them, and the window's state around a build.
// Then what becomes of the built map: Preview, Save, Save As, the output
// name's Browse and Exit, with the files they leave on disk.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <cerrno>
#include <csignal>

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
      QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<title>P"));
    }
  }

  // The pages in the base folder and below it, by their relative paths.
  static QStringList Pages(const QString& base) {
    QStringList found;
    QDirIterator files(base, {"sitemap.*", "other.*", ".sitemap*"}, QDir::Files | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) found << QDir(base).relativeFilePath(files.next());
    found.sort();
    return found;
  }

  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  // Options edited as a user edits them reach the page, which is the
  // core's page for them.
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
    f.click("cmdBuildMap");
    QVERIFY(f.find("shpProgressBorder")->isVisible());
    QVERIFY(f.idle());
    mapgen::BuildObserver quiet;
    const QByteArray page = Contents(base + "/sitemap.tmp");
    QCOMPARE(page.toStdString(),
             mapgen::BuildPage(expected, mapgen::PosixFileSystem(), quiet).mapText);
    QVERIFY(page.contains("href=\"my%20page.htm\""));
    QCOMPARE(f.commands(), "output");
    QCOMPARE(f.window->focusWidget(), f.find("cmdPreview"));
    QVERIFY(!f.find("shpProgressBorder")->isVisible());

    // Once saved, Preview hands the browser the saved page itself; the
    // hidden copy of the unsaved one is tried by desktop_session.sh.
    f.click("cmdSave");
    QVERIFY(f.idle());
    f.fakes.launcher.startable = {"xdg-open"};
    f.find<QAction>("mnuPreview")->trigger();
    QCOMPARE(f.fakes.launcher.tried, QStringList{"xdg-open|" + base + "/sitemap.html"});
  }

  // An edit while a build runs marks the map out of date, but Build stays
  // unavailable until the build has ended; its page lacks the edit, and
  // Build, from the button or the menu, builds it anew.
  void editDuringBuild() {
    WindowFixture f;
    MakeSite(f.base.path());
    f.click("cmdBuildMap");
    QTest::keyClicks(f.find("txtTitle"), " changed");
    QCOMPARE(f.commands(), "");
    f.click("cmdBuildMap");
    QVERIFY(f.idle());
    QCOMPARE(f.commands(), "build");
    QVERIFY(!f.window->MapBuilt());
    const QString page = f.base.path() + "/sitemap.tmp";
    QVERIFY(!Contents(page).contains("Site Map changed"));
    QCOMPARE(f.page(), page);
    f.find<QAction>("mnuBuildMap")->trigger();
    QVERIFY(f.idle());
    QCOMPARE(f.commands(), "output");
    QVERIFY(Contents(page).contains("Site Map changed"));
  }

  void outputNameAtBuild_data() {
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QString>("saved");  // where Save writes, in the base
    QTest::newRow("base folder alone: the typed name stays") << false << "mine.html";
    QTest::newRow("subfolders: the name follows the base folder") << true << "sitemap.html";
  }

  // A build that walks no subfolders leaves the name the user typed; a
  // relative name is taken from the base folder, wherever the program
  // was started.
  void outputNameAtBuild() {
    QFETCH(bool, subfolders);
    QFETCH(QString, saved);
    WindowFixture f;
    QTemporaryDir elsewhere;
    const QString started = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    f.find<QCheckBox>("chkShowSubfolders")->setChecked(subfolders);
    auto* name = f.find<QLineEdit>("txtMapFile");
    name->setText("mine.html");
    QVERIFY(f.Build());
    f.click("cmdSave");
    QVERIFY(f.idle());
    QDir::setCurrent(started);
    QCOMPARE(name->text(), subfolders ? f.base.path() + "/" + saved : saved);
    QVERIFY(QFile::exists(f.base.path() + "/" + saved));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
  }

  // A page that cannot be written: a message, the progress hidden, nothing
  // built, what stood in the way left as it was, and Build works again.
  void failedBuild() {
    WindowFixture f;
    const QString base = f.base.path() + "/site";
    QVERIFY(QDir(f.base.path()).mkpath("site/sitemap.tmp"));
    f.change(base);
    QVERIFY(f.Build());
    QCOMPARE(f.messages(), QStringList{base + "/sitemap.tmp\nIs a directory"});
    QVERIFY(!f.find("shpProgressBorder")->isVisible());
    QVERIFY(f.commands() == "build" && f.page().isEmpty());
    QVERIFY(QFileInfo(base + "/sitemap.tmp").isDir());
    f.change(f.base.path());
    QVERIFY(f.Build() && f.window->MapBuilt());
  }

  // Steps, the answer to the question at Exit, whether it was asked, and
  // the pages left on disk. "start" starts a build and goes on at once;
  // Save As and Browse choose other.html, unless the step before is
  // "cancel"; "@name": the focus is on that control.
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
    QTest::newRow("during a build") << "start" << no << false << none;
    QTest::newRow("built, not saved, No") << "build" << no << true << none;
    QTest::newRow("built, not saved, Yes") << "build" << yes << true << saved;
    QTest::newRow("built and saved") << "build save" << no << false << saved;
    QTest::newRow("changed after a build") << "build change" << yes << false << none;
    QTest::newRow("changed after a save") << "build save change" << yes << false << saved;
    QTest::newRow("saved twice") << "build save save" << no << false << saved;
    QTest::newRow("saved under a second name")
        << "build save saveas @cmdExit" << no << false << other + saved;
    QTest::newRow("Save As, cancelled")
        << "build cancel saveas @cmdPreview" << yes << true << saved;
    QTest::newRow("Browse after a build") << "build browse @cmdSave" << yes << true << other;
    QTest::newRow("previewed, not saved, Yes") << "build preview" << yes << true << saved;
    QTest::newRow("built elsewhere after a build") << "build elsewhere build" << no << true << none;
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
      if (step == "start") f.click("cmdBuildMap");
      if (firstPage.isEmpty()) firstPage = Contents(f.page());
      if (step == "save") f.click("cmdSave");
      if (step == "preview") f.fakes.launcher.startable = {"xdg-open"};
      if (step == "preview") f.click("cmdPreview");
      if (step == "saveas") f.find<QAction>("mnuSaveAs")->trigger();
      if (step == "browse") f.click("cmdChangeOutputPath");
      if (step == "cancel") f.fakes.dialog.files = {{cancelled, {}, {}}};
      if (step == "change") QTest::keyClicks(f.find("txtTitle"), "x");
      if (step == "elsewhere") f.change(base + "/sub");
      if (step != "start") QVERIFY(f.idle());
      if (step[0] == '@') QCOMPARE(f.window->focusWidget(), f.find(step.mid(1)));
    }
    // The output name is asked for in a dialog for saving.
    QVERIFY(f.fakes.dialog.fileRequests.empty());
    for (const FileOpenRequest& request : f.fakes.dialog.saveRequests) {
      QCOMPARE(request.initialFileName, base + "/sitemap.html");
    }
    f.fakes.messageBoxes.answer = answer;
    f.click("cmdExit");

    QTRY_COMPARE(f.programEnds, 1);
    // The question, if asked, is the only message: no save failed.
    QCOMPARE(f.messages().size(), asked ? 1 : 0);
    QCOMPARE(Pages(base), left);
    for (const QString& page : left) QCOMPARE(Contents(base + "/" + page), firstPage);
  }

  // Asked for, the XML sitemap is staged by the build and put beside the
  // page where Save puts it, and only there; the page's links lead from
  // there too.
  void sitemapBesideSavedPage() {
    WindowFixture f;
    MakeSite(f.base.path());
    const QString out = f.base.path() + "/out";
    QVERIFY(QDir().mkdir(out));
    f.find<QCheckBox>("chkSitemapXml")->setChecked(true);
    f.find<QLineEdit>("txtSiteUrl")->setText("https://example.org/");
    f.find<QCheckBox>("chkLockFilename")->setChecked(true);
    f.find<QLineEdit>("txtMapFile")->setText(out + "/map.html");
    QVERIFY(f.Build());
    QCOMPARE(Pages(f.base.path()), QStringList{"sitemap.tmp"});
    f.click("cmdSave");
    QVERIFY(f.idle());
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(Pages(f.base.path()), QStringList{"out/sitemap.xml"});
    const QByteArray xml = Contents(out + "/sitemap.xml");
    QVERIFY2(xml.contains("<loc>https://example.org/my%20page.htm</loc>"), xml.constData());
    QVERIFY(Contents(out + "/map.html").contains("href=../index.html>"));
  }

  // Save writes the page and its XML sitemap as one set: a name that
  // cannot be written leaves every file as it was, and a link at a name is
  // replaced, never written through.
  void saveIsOneSet() {
    WindowFixture f;
    MakeSite(f.base.path());
    const QString out = f.base.path() + "/out";
    QVERIFY(QDir().mkpath(out + "/sitemap.xml"));
    const QString elsewhere = f.base.path() + "/elsewhere.html";
    QVERIFY(QFile(elsewhere).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(elsewhere, out + "/map.html"));
    f.find<QCheckBox>("chkSitemapXml")->setChecked(true);
    f.find<QLineEdit>("txtSiteUrl")->setText("https://example.org/");
    f.find<QCheckBox>("chkLockFilename")->setChecked(true);
    f.find<QLineEdit>("txtMapFile")->setText(out + "/map.html");
    QVERIFY(f.Build());
    f.click("cmdSave");
    QVERIFY(f.idle() && !f.window->MapSaved());
    QCOMPARE(f.messages(), QStringList{out + "/sitemap.xml\nIs a directory"});
    QVERIFY(QFileInfo(out + "/map.html").isSymLink());
    QVERIFY(QDir(out + "/sitemap.xml").removeRecursively());
    f.click("cmdSave");
    QVERIFY(f.idle() && f.window->MapSaved());
    QVERIFY(!QFileInfo(out + "/map.html").isSymLink());
    QCOMPARE(Contents(elsewhere), QByteArray());
    QVERIFY(Contents(out + "/sitemap.xml").contains("<urlset"));
  }

  // Compressed, and named in a robots file: Save puts the three files
  // beside the page as one set, the robots file's other lines kept.
  void compressedSitemapAndRobotsFileAtSave() {
    WindowFixture f;
    MakeSite(f.base.path());
    const QString out = f.base.path() + "/out";
    QVERIFY(QDir().mkdir(out));
    QFile robots(out + "/robots.txt");
    QVERIFY(robots.open(QIODevice::WriteOnly) && robots.write("User-agent: *\r\n"));
    robots.close();
    // An earlier index and its pieces, which the new sitemap replaces.
    for (const char* name : {"sitemap.xml.gz", "sitemap-1.xml.gz", "sitemap-2.xml.gz"}) {
      QFile old(out + "/" + name);
      QVERIFY(old.open(QIODevice::WriteOnly) &&
              old.write("<sitemapindex><sitemap><loc>https://example.org/out/sitemap-1.xml.gz"
                        "</loc></sitemap><sitemap><loc>https://example.org/out/sitemap-2.xml.gz"
                        "</loc></sitemap></sitemapindex>"));
    }
    f.find<QCheckBox>("chkSitemapXml")->setChecked(true);
    f.find<QCheckBox>("chkSitemapGz")->setChecked(true);
    QCOMPARE(f.find<QLineEdit>("txtSitemapXml")->text(), "sitemap.xml.gz");
    f.find<QLineEdit>("txtSiteUrl")->setText("https://example.org/");
    f.find<QLineEdit>("txtRobotsTxt")->setText("robots.txt");
    f.find<QCheckBox>("chkLockFilename")->setChecked(true);
    f.find<QLineEdit>("txtMapFile")->setText(out + "/map.html");
    QVERIFY(f.Build());
    f.click("cmdSave");
    QVERIFY(f.idle());
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(Pages(f.base.path()), QStringList{"out/sitemap.xml.gz"});
    QVERIFY(Contents(out + "/sitemap.xml.gz").startsWith("\x1F\x8B"));
    QCOMPARE(Contents(out + "/robots.txt"),
             "User-agent: *\r\nSitemap: https://example.org/out/sitemap.xml.gz\r\n");
    f.find<QCheckBox>("chkSitemapGz")->setChecked(false);
    QCOMPARE(f.window->settings().txtSitemapXml, "sitemap.xml");
  }

  // A setting the XML sitemap cannot use: Build says so in the window's
  // words, builds nothing and leads to where it is set.
  void sitemapSettingsRefusedAtBuild_data() {
    QTest::addColumn<QString>("siteUrl");
    QTest::addColumn<QString>("message");
    QTest::newRow("no site URL") << ""
                                 << "Also write sitemap.xml needs a Site URL: the address the "
                                    "site starts at, such as https://example.org/.";
    QTest::newRow("no scheme") << "example.org"
                               << "Site URL takes an address that starts with http:// or "
                                  "https://, not example.org.";
  }

  void sitemapSettingsRefusedAtBuild() {
    QFETCH(QString, siteUrl);
    QFETCH(QString, message);
    WindowFixture f;
    f.find<QCheckBox>("chkSitemapXml")->setChecked(true);
    f.find<QLineEdit>("txtSiteUrl")->setText(siteUrl);
    f.click("cmdBuildMap");
    QVERIFY(f.idle() && !f.window->MapBuilt());
    QCOMPARE(f.messages(), QStringList{message});
    QCOMPARE(f.window->focusWidget(), f.find("txtSiteUrl"));
    QCOMPARE(f.commands(), "build");
  }

  void saveRefused_data() {
    QTest::addColumn<QString>("output");  // in the base folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder missing") << "missing/sitemap.html"
                                    << "No such file or directory";
    QTest::newRow("output read-only") << "sitemap.html"
                                      << "Permission denied";
    QTest::newRow("disk full") << "sitemap.html"
                               << "No space left on device";
  }

  // The failure is shown, the name is focused for a fix and the output is
  // left as it was; closing the window asks again, as Exit does, and a
  // failed save keeps the window.
  void saveRefused() {
    QFETCH(QString, output);
    QFETCH(QString, reason);
    if (reason == "Permission denied" && ::geteuid() == 0) {
      QSKIP("root may write any file; ctest runs this case as nobody");
    }
    WindowFixture f;
    QVERIFY(f.Build());
    // No test can fill a real disk: the window's file system does.
    if (reason == "No space left on device") {
      f.fileSystem.Fail(mapgen::FaultInjectingFileSystem::Call::kWrite, f.base.path().toStdString(),
                        ENOSPC);
    }
    const QString path = f.base.path() + "/" + output;
    QFile mine(path);
    if (mine.open(QIODevice::WriteOnly) && mine.write("mine")) {
      QVERIFY(mine.setPermissions(QFile::ReadOwner | QFile::ReadGroup));
    }
    mine.close();
    f.find<QLineEdit>("txtMapFile")->setText(output);
    f.click("cmdSave");
    QVERIFY(f.idle());
    const QString failure = path + "\n" + reason;
    QCOMPARE(f.fakes.messageBoxes.shown.at(0).title, "Problem with file");
    QCOMPARE(f.messages(), QStringList{failure});
    QCOMPARE(f.window->focusWidget(), f.find("txtMapFile"));

    f.fakes.messageBoxes.answer = MessageAnswer::kYes;
    f.window->close();
    QVERIFY(f.idle());
    QCOMPARE(f.messages(), (QStringList{failure, "Save generated file?", failure}));
    QVERIFY(f.window->isVisible() && QFile::exists(f.page()));
    f.fakes.messageBoxes.answer = MessageAnswer::kNo;
    f.window->close();
    QTRY_COMPARE(f.programEnds, 1);
    QCOMPARE(Contents(path), QFile::exists(path) ? "mine" : "");
  }

  // A folder the user may only read is mapped all the same: the page waits
  // in the map file's folder, under a hidden name of its own that no other
  // window takes, with its links worked out from there; Edit Source opens
  // it and Save puts it in place. With neither folder writable, Build says
  // so and names both.
  void readOnlyBase() {
    if (::geteuid() == 0) QSKIP("root may write any folder; ctest runs this as nobody");
    WindowFixture f;
    const QString base = f.base.path() + "/docs";
    const QString out = f.base.path() + "/out";
    QVERIFY(QDir().mkpath(base) && QDir().mkpath(out));
    MakeSite(base);
    QVERIFY(::chmod(QFile::encodeName(base), 0555) == 0);
    const auto writable = qScopeGuard([&] {
      ::chmod(QFile::encodeName(base), 0755);
      ::chmod(QFile::encodeName(out), 0755);
    });
    f.change(base);
    f.find<QCheckBox>("chkLockFilename")->setChecked(true);
    f.find<QLineEdit>("txtMapFile")->setText(out + "/map.html");
    QVERIFY(f.Build());
    QCOMPARE(f.messages(), QStringList());
    const QFileInfo page(f.page());
    QVERIFY2(page.dir() == QDir(out) && page.fileName().startsWith(".tessary-"),
             qPrintable(f.page()));
    QVERIFY(Contents(f.page()).contains("href=../docs/index.html>"));
    f.fakes.launcher.startable = {"gio"};
    f.find<QAction>("mnuEditSource")->trigger();
    QVERIFY(f.idle());
    QCOMPARE(f.fakes.launcher.tried.last(), "gio|open|" + f.page());

    WindowFixture other;
    other.change(base);
    other.find<QCheckBox>("chkLockFilename")->setChecked(true);
    other.find<QLineEdit>("txtMapFile")->setText(out + "/map.html");
    QVERIFY(other.Build() && other.page() != f.page() && QFile::exists(f.page()));

    f.click("cmdSave");
    QVERIFY(f.idle());
    QVERIFY(!QFile::exists(page.filePath()));
    QCOMPARE(QDir(out).entryList(QDir::Files | QDir::Hidden),
             (QStringList{QFileInfo(other.page()).fileName(), "map.html"}));

    QVERIFY(::chmod(QFile::encodeName(out), 0555) == 0);
    QTest::keyClicks(f.find("txtTitle"), "x");
    QVERIFY(f.Build());
    QCOMPARE(f.messages().value(0),
             "The map cannot be built: neither the folder it maps nor the "
             "map file's folder can be written.\n\n" +
                 base + ": Permission denied\n" + out + ": Permission denied");
    QCOMPARE(f.commands(), "build");
  }

  // Folders and pages that cannot be read are left out of a page that is
  // built all the same; a line under the tabs says how many, and Details
  // lists each with the system's reason. A build without them clears it.
  void warningsAfterBuild() {
    WindowFixture f;
    const QString base = f.base.path() + "/site";
    QVERIFY(QDir().mkpath(base + "/locked") && QDir().mkpath(base + "/clean"));
    MakeSite(base);
    const QString away = f.base.path() + "/away.html";
    QVERIFY(QFile(away).open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(away, base + "/away.html"));
    using Call = mapgen::FaultInjectingFileSystem::Call;
    f.fileSystem.Fail(Call::kOpenFolder, (base + "/locked").toStdString(), EACCES);
    f.fileSystem.Fail(Call::kOpenFile, (base + "/index.html").toStdString(), EIO);
    f.change(base);
    auto* line = f.find<QLabel>("lblWarnings");
    QVERIFY(f.Build() && f.window->MapBuilt() && line->isVisible());
    QCOMPARE(line->text(),
             "Left out of the map: 2 folders or pages could not be read; 1 link leads outside "
             "the base folder and was not read.");
    QVERIFY(Contents(f.page()).contains("my page.htm"));
    f.click("cmdWarnings");
    QStringList listed = f.fakes.messageBoxes.shown.back().details.split('\n');
    listed.sort();
    QCOMPARE(listed,
             (QStringList{"Cannot read " + base + "/index.html: Input/output error",
                          "Cannot read " + base + "/locked: Permission denied",
                          "Not read " + base + "/away.html: Leads outside the base folder"}));
    f.change(base + "/clean");
    QVERIFY(f.Build() && !line->isVisible());
  }

  void failedSaveAfterSave_data() {
    QTest::addColumn<QString>("name");  // chosen in Save As; empty: the box emptied
    QTest::addColumn<QString>("message");
    QTest::newRow("Save As into a missing folder")
        << "missing/other.html"
        << "%1/missing/other.html\nNo such file or directory";
    QTest::newRow("no name at all") << ""
                                    << "No map file name given";
  }

  // A save that fails after one that succeeded leaves the map unsaved, the
  // name ready to be corrected, and Exit asks again.
  void failedSaveAfterSave() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    WindowFixture f;
    const QString base = f.base.path();
    QVERIFY(f.Build());
    f.click("cmdSave");
    QVERIFY(f.idle() && f.window->MapSaved());
    if (name.isEmpty()) {
      f.find<QLineEdit>("txtMapFile")->clear();
      f.click("cmdSave");
    } else {
      f.fakes.dialog.files = {{DialogOutcome::kChosen, base + "/" + name, {}}};
      f.find<QAction>("mnuSaveAs")->trigger();
    }
    QVERIFY(f.idle());
    QCOMPARE(f.messages(), QStringList{message.arg(base)});
    QVERIFY(!f.window->MapSaved());
    QCOMPARE(f.window->focusWidget(), f.find("txtMapFile"));
    f.fakes.messageBoxes.answer = MessageAnswer::kNo;
    f.click("cmdExit");
    QTRY_COMPARE(f.programEnds, 1);
    QCOMPARE(f.messages().last(), "Save generated file?");
  }

  // Yes at Exit saves to a pipe that is open but never read: the program
  // ends all the same, a few seconds later, and the write fails quietly
  // once the reader goes.
  void exitPastAStalledSave() {
    std::signal(SIGPIPE, SIG_IGN);
    WindowFixture f;
    const QString pipe = f.base.path() + "/map.html";
    QVERIFY(::mkfifo(QFile::encodeName(pipe), 0600) == 0);
    const int reader = ::open(QFile::encodeName(pipe), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    // Longer than a pipe holds.
    f.find<QPlainTextEdit>("txtPreface")->setPlainText(QString(100000, 'x'));
    QVERIFY(f.Build());
    f.find<QLineEdit>("txtMapFile")->setText("map.html");
    f.fakes.messageBoxes.answer = MessageAnswer::kYes;
    f.click("cmdExit");
    QTRY_COMPARE_WITH_TIMEOUT(f.programEnds, 1, 10000);
    ::close(reader);
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::BuildTest)
#include "BuildTest.moc"
