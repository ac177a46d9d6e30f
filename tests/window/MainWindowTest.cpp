// The main window as it starts, the base folder and the output name that
// follows it, the drives and the folder tree, the layout
// and the tab switch with its hover highlight, the keys, names shown as
// text, and the editor that Edit Source starts.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeView>
#include <map>

#include "Colours.h"
#include "FolderViews.h"
#include "TempFolder.h"
#include "WindowFixture.h"

namespace tessary {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static void Hover(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }

  // Drops `path` on the window as a file manager does; whether it was
  // taken.
  static bool Drop(WindowFixture& f, const QUrl& url) {
    QMimeData data;
    data.setUrls({url});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(f.window.get(), &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(f.window.get(), &drop);
    return enter.isAccepted();
  }

  // The one tab in front: its frame alone is shown and its label alone
  // has the frame's colour; the other labels are grey.
  static int ActiveTab(const WindowFixture& f) {
    int active = -1;
    for (int i = 0; i < frmTessary::kTabs; ++i) {
      const auto* frame = f.find(Indexed("fraOptions", i));
      const bool front = frame->isVisible();
      const mapgen::Colour label = BackColor(f.find(Indexed("lblToolbar", i)));
      if (label != (front ? BackColor(frame) : kLightGrey)) return -2;
      if (front) active = active == -1 ? i : -2;
    }
    return active;
  }

 private slots:
  // The start state. From the start and after any tab switch, every frame
  // has its designed place, the command buttons take clicks at every
  // corner, and the Folder tab's OK lies whole inside its tab.
  void startAndLayoutOnEveryTab() {
    WindowFixture f;
    QVERIFY(f.commands() == "build" && ActiveTab(f) == 0);
    QWidget* form = f.window->centralWidget();
    auto takesClicks = [form](QWidget* control) {
      const QRect inside = control->rect().adjusted(0, 0, -1, -1);
      for (QPoint corner :
           {inside.topLeft(), inside.topRight(), inside.bottomLeft(), inside.bottomRight()}) {
        if (form->childAt(control->mapTo(form, corner)) != control) {
          return false;
        }
      }
      return true;
    };
    for (int tab : {-1, 1, 0, 4, 5, 2, 0}) {
      if (tab >= 0) f.window->lblToolbar_Click(tab);
      for (int i = 0; i < frmTessary::kTabs; ++i) {
        QCOMPARE(f.find(Indexed("fraOptions", i))->geometry(), ToPixels({0, 240, 8055, 5535}));
      }
      for (const char* name : {"cmdBuildMap", "cmdPreview", "cmdSave", "cmdExit"}) {
        QVERIFY2(takesClicks(f.find(name)),
                 qPrintable(QString("%1 after tab %2").arg(name).arg(tab)));
      }
    }
    auto* ok = f.find("cmdOK");
    QCOMPARE(ok->geometry(), ToPixels({6960, 4320, 975, 495}));
    QVERIFY(takesClicks(ok));
    QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(ok->width() - 1, 0));
    QCOMPARE(ActiveTab(f), 4);
  }

  // The base folder, chosen in the tree or dropped from a file manager,
  // shows in its three places, read-only and as its letters, and reaches
  // the settings; the output name follows it unless locked. The file list
  // shows no folders, not even those its model keeps from earlier visits.
  void baseFolder() {
    WindowFixture f;
    auto* name = f.find<QLineEdit>("txtMapFile");
    const QString base = f.base.path();
    const QString a = base + "/a";
    const QString b = base + "/<b>x</b><img src=y>";
    QVERIFY(QDir().mkpath(a) && QDir().mkpath(b));
    QVERIFY(QFile(base + "/page.html").open(QIODevice::WriteOnly));
    f.change(a);
    QCOMPARE(name->text(), a + "/sitemap.html");

    name->setText("/srv/www/map.html");
    f.find<QCheckBox>("chkLockFilename")->setChecked(true);
    f.window->SetButtons(2);
    QVERIFY(!Drop(f, QUrl::fromLocalFile(base + "/page.html")));  // not a folder
    QVERIFY(Drop(f, QUrl::fromLocalFile(b)));
    QCOMPARE(name->text(), "/srv/www/map.html");
    QCOMPARE(f.commands(), "build");
    for (const char* shown : {"lblDir", "lblSelectedFolder"}) {
      QCOMPARE(f.find<QLabel>(shown)->text(), b);
    }
    for (const QLabel* label : f.window->findChildren<QLabel*>()) {
      if (label->text() == b) QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    QCOMPARE(f.window->settings().txtDir, b.toStdString());
    f.window->lblToolbar_Click(1);
    auto* box = f.find<QLineEdit>("txtDir");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "x");
    QCOMPARE(box->text(), b);
    QCOMPARE(f.messages().size(), 1);  // how to change it

    f.find<QCheckBox>("chkLockFilename")->setChecked(false);
    f.change(base);
    QCOMPARE(name->text(), base + "/sitemap.html");
    auto* list = f.find<QListView>("File1");
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
    QCOMPARE(list->model()->index(0, 0, list->rootIndex()).data().toString(), "page.html");
  }

  // The labels and the controls that lead to a tab bring it to the front
  // (desktop_session.sh presses the keys). The hovered label shows blue text, on white unless it is
  // the active tab; leaving it anywhere, the menu bar too, clears that.
  void tabStrip() {
    WindowFixture f;
    for (int tab : {4, 0, 1, 2, 3, 5}) {
      f.find("cmdExit")->setFocus();
      QTest::mouseClick(f.find(Indexed("lblToolbar", tab)), Qt::LeftButton);
      QCOMPARE(ActiveTab(f), tab);
      QCOMPARE(f.window->focusWidget(), f.find(tab == 4 ? "cmdBuildMap" : "cmdExit"));
    }
    QTest::mouseClick(f.find("lblDir"), Qt::LeftButton);
    QVERIFY(ActiveTab(f) == 0 && f.window->focusWidget() == f.find("Dir1"));
    f.find<QAction>("mnuContent")->trigger();
    f.click("cmdChangeDirectory");
    QCOMPARE(ActiveTab(f), 0);

    auto colours = [&f](int i) {
      const QWidget* label = f.find(Indexed("lblToolbar", i));
      return std::pair{ForeColor(label), BackColor(label)};
    };
    Hover(f.find("lblToolbar(3)"));
    QCOMPARE(colours(3), std::pair(kBlue, kWhite));
    Hover(f.find("lblToolbar(0)"));
    QCOMPARE(colours(0), std::pair(kBlue, BackColor(f.find("fraOptions(0)"))));
    QCOMPARE(colours(3), std::pair(kBlack, kLightGrey));
    Hover(f.find("lblToolbar(1)"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.find("lblToolbar(1)"), &leave);
    QCOMPARE(colours(1), std::pair(kBlack, kLightGrey));
  }

  // A double click chooses a folder and opens it to list its subfolders;
  // the highlight then moves on its own, and the current folder stands
  // apart from it.
  void doubleClickOpensFolder() {
    WindowFixture f;
    const QString a = f.base.path() + "/a";
    QVERIFY(QDir().mkpath(a + "/inner"));
    auto* tree = f.find<FolderTree>("Dir1");
    const QModelIndex folder = tree->indexOf(a.toStdString());
    QTRY_VERIFY(tree->visualRect(folder).isValid());
    // As a mouse does it: a click, then the second press as a double click.
    const QRect row = tree->visualRect(folder);
    const QPoint where(row.left() + 10, row.center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(f.window->settings().txtDir, a.toStdString());
    QVERIFY(tree->isExpanded(folder));
    const QModelIndex inner = tree->indexOf((a + "/inner").toStdString());
    QTRY_VERIFY(tree->visualRect(inner).isValid());
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(tree->currentIndex(), inner);
    QCOMPARE(f.window->settings().txtDir, a.toStdString());
    auto bold = [](const QModelIndex& index) {
      return index.data(Qt::FontRole).value<QFont>().bold();
    };
    QVERIFY(bold(folder) && !bold(inner));
  }

  // A folder whose name is no UTF-8, chosen by a double click or dropped
  // from a file manager, shows with U+FFFD and is built and saved under
  // its own bytes, also after the file name in the output name is edited.
  void namesAsBytes() {
    WindowFixture f;
    const std::string odd = QFile::encodeName(f.base.path()).toStdString() + "/caf\xe9";
    const mapgen::testing_support::RemovedAtEnd removed(odd);
    QVERIFY(::mkdir(odd.c_str(), 0755) == 0);
    QVERIFY(::close(::creat((odd + "/a.html").c_str(), 0644)) == 0);
    auto* tree = f.find<FolderTree>("Dir1");
    const QModelIndex folder = tree->indexOf(odd);
    QTRY_VERIFY(tree->visualRect(folder).isValid());
    const QRect row = tree->visualRect(folder);
    const QPoint where(row.left() + 10, row.center().y());
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(f.window->settings().txtDir, odd);
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), f.base.path() + "/caf\uFFFD");
    QCOMPARE(f.messages(), QStringList());

    f.change(f.base.path());
    QVERIFY(Drop(
        f, QUrl::fromEncoded("file://" + QByteArray::fromStdString(odd).toPercentEncoding("/"))));
    QCOMPARE(f.window->settings().txtDir, odd);

    QVERIFY(f.Build());
    QCOMPARE(f.window->TempMapPath(), odd + "/sitemap.tmp");
    auto* name = f.find<QLineEdit>("txtMapFile");
    name->setText(name->text().replace("sitemap.html", "map.html"));
    f.click("cmdSave");
    QVERIFY(f.idle());
    QCOMPARE(f.messages(), QStringList());
    QCOMPARE(f.window->SavedMapPath(), odd + "/map.html");
    QVERIFY(::access((odd + "/map.html").c_str(), F_OK) == 0);
  }

  // The designed size is the least the window takes. More room goes to
  // the folder tree and the file list, the text boxes and the picture of
  // the page, while the command column keeps to the right edge. A long
  // folder name scrolls in the tree rather than lose its end, and the
  // progress bar stands clear of every tab.
  void windowGrows() {
    WindowFixture f;
    const QString longName = "alsa-topology-conf-with-a-name-longer-than-the-tree";
    QVERIFY(QDir(f.base.path()).mkdir(longName));
    f.change(f.base.path());
    QWidget* form = f.window->centralWidget();
    const QSize designed(Twips(9480), Twips(5760));
    f.window->resize(100, 100);
    QCOMPARE(form->size(), designed);
    auto places = [&f] {
      std::map<QString, QRect> at;
      for (const char* name : {"Dir1", "File1", "txtPreface", "txtAppendix", "shpMap", "cmdExit",
                               "cmdOK", "txtMapFile", "shpProgressBorder"}) {
        at[name] = f.find(name)->geometry();
      }
      return at;
    };
    const auto before = places();
    f.window->resize(f.window->size() + QSize(300, 200));
    QTRY_COMPARE(form->size(), designed + QSize(300, 200));
    auto after = places();
    QCOMPARE(after["Dir1"].size(), before.at("Dir1").size() + QSize(150, 200));
    QCOMPARE(after["File1"].left(), before.at("File1").left() + 150);
    QCOMPARE(after["txtPreface"].height() + after["txtAppendix"].height(),
             before.at("txtPreface").height() + before.at("txtAppendix").height() + 200);
    QCOMPARE(after["shpMap"].size(), before.at("shpMap").size() + QSize(300, 200));
    QCOMPARE(after["cmdExit"].topLeft(), before.at("cmdExit").topLeft() + QPoint(300, 0));
    QCOMPARE(after["cmdOK"].bottomRight(), before.at("cmdOK").bottomRight() + QPoint(300, 200));
    QCOMPARE(after["txtMapFile"].width(), before.at("txtMapFile").width() + 300);
    QVERIFY(!f.find("tabStrip")->geometry().intersects(after["shpProgressBorder"]));

    auto* tree = f.find<FolderTree>("Dir1");
    const QRect row =
        tree->visualRect(tree->indexOf(f.window->settings().txtDir + "/" + longName.toStdString()));
    QVERIFY(row.width() > tree->fontMetrics().horizontalAdvance(longName));
  }

  // A base folder removed under the window is noticed at the next tab
  // switch, return to the window or Build: the Folder tab empties, Build
  // goes until another folder is chosen, and the user is told once.
  void baseFolderGone() {
    for (const char* noticed : {"tab", "build"}) {
      WindowFixture f;
      const QString base = f.base.path() + "/site";
      QVERIFY(QDir().mkpath(base) && QFile(base + "/a.html").open(QIODevice::WriteOnly));
      f.change(base);
      QVERIFY(QDir(base).removeRecursively());
      if (QString(noticed) == "tab") {
        f.window->lblToolbar_Click(0);
      } else {
        f.click("cmdBuildMap");
        QVERIFY(f.idle() && !f.window->MapBuilt());
      }
      QCOMPARE(f.messages(), QStringList{base + "\nNo such file or directory\n\n"
                                                "Choose another folder to map on the Folder tab."});
      QCOMPARE(f.commands(), "");
      auto* files = f.find<QListView>("File1");
      QCOMPARE(files->model()->rowCount(), 0);
      QCOMPARE(f.find<QLabel>("lblSelectedFolder")->text(), "");
      auto* tree = f.find<FolderTree>("Dir1");
      QCOMPARE(tree->currentIndex(), tree->indexOf(f.base.path().toStdString()));
      QCOMPARE(tree->model()->rowCount(tree->currentIndex()), 0);
      f.window->lblToolbar_Click(4);
      QCOMPARE(f.messages().size(), 1);
      f.change(f.base.path());
      QCOMPARE(f.commands(), "build");
    }
  }

  // Enter presses whichever button has the focus.
  void enterPressesFocusedButton() {
    WindowFixture f;
    for (QPushButton* button : f.window->findChildren<QPushButton*>()) {
      if (!button->isEnabled()) continue;
      QSignalSpy pressed(button, &QAbstractButton::clicked);
      QTest::keyClick(button, Qt::Key_Return);
      QVERIFY2(pressed.count() == 1, qPrintable(button->objectName()));
    }
  }

  // The drives come from the desktop. Choosing one shows the folder last
  // shown on it, else its root, with the caution that a root may make a
  // long map.
  void drives() {
    QTemporaryDir stick;
    const QString photos = stick.path() + "/photos";
    QVERIFY(QDir().mkdir(photos));
    WindowFixture f({{"/", "/"}, {stick.path() + " [STICK]", stick.path()}});
    auto* drive = f.find<QComboBox>("Drive1");
    QCOMPARE(drive->itemText(1), stick.path() + " [STICK]");
    QCOMPARE(drive->currentIndex(), 0);
    auto shown = [&f] { return f.find<QLineEdit>("txtDir")->text(); };
    auto cautioned = [&f] {
      return !f.find("Label4")->isHidden() && !f.find("Label5")->isHidden();
    };
    drive->setCurrentIndex(1);
    QVERIFY(shown() == stick.path() && cautioned());
    f.change(photos);
    QVERIFY(!cautioned());
    drive->setCurrentIndex(0);
    QCOMPARE(shown(), f.base.path());
    drive->setCurrentIndex(1);
    QCOMPARE(shown(), photos);
  }

  void editSourceChain_data() {
    QTest::addColumn<QString>("entry");  // registered for plain text
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QString>("started");  // %1: the page; empty: none
    const QString vim = "Exec=vim %F\nTerminal=true";
    QTest::newRow("an editor with a window") << "Exec=myedit --new %U\nTerminal=false"
                                             << "" << QStringList{"myedit"} << "myedit|--new|%1";
    QTest::newRow("a terminal program, $TERMINAL")
        << vim << "kitty" << QStringList{"kitty", "x-terminal-emulator"} << "kitty|-e|vim|%1";
    QTest::newRow("a terminal program, the system's terminal")
        << vim << "" << QStringList{"x-terminal-emulator"} << "x-terminal-emulator|-e|vim|%1";
    QTest::newRow("no editor but what gio opens") << ""
                                                  << "" << QStringList{"gio"} << "gio|open|%1";
    QTest::newRow("nothing") << vim << "" << QStringList{} << "";
  }

  // Edit Source opens the built page in the editor registered for plain
  // text, in the user's terminal when its entry needs one; then in the
  // usual editors; then in what gio opens; or says that nothing could.
  // Each start that fails leads to the next.
  void editSourceChain() {
    QFETCH(QString, entry);
    QFETCH(QString, terminal);
    QFETCH(QStringList, startable);
    QFETCH(QString, started);
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkpath("applications"));
    QFile file(data.path() + "/applications/editor.desktop");
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write("[Desktop Entry]\n" + entry.toUtf8() + "\n") > 0);
    file.close();
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("XDG_DATA_DIRS", data.path().toUtf8());
    qputenv("TERMINAL", terminal.toUtf8());
    WindowFixture f;
    f.fakes.launcher.startable = startable;
    f.fakes.launcher.printed["xdg-mime"] = "editor.desktop\n";
    QVERIFY(f.Build());
    f.find<QAction>("mnuEditSource")->trigger();
    QVERIFY(f.idle());
    const QString page = f.page();
    QCOMPARE(f.fakes.launcher.tried.last(),
             (started.isEmpty() ? "gio|open|%1" : started).arg(page));
    QCOMPARE(f.messages().join(""),
             started.isEmpty() ? "No text editor could be started to open\n" + page : "");
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::MainWindowTest)
#include "MainWindowTest.moc"
