// The program around the map: the main window as it starts, the command
// line and the welcome window, the base folder and the output name that
// follows it, the folder tree, the layout and the tab switch with its
// hover highlight, the keys, names shown as text, the browser and editor
// chains, the real message box, the help page's place and the About box.
#include <QCheckBox>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QTreeView>

#include "Colours.h"
#include "HelpPage.h"
#include "Module1.h"
#include "OpenBrowser.h"
#include "QtDesktop.h"
#include "TextEditor.h"
#include "WindowFixture.h"
#include "frmAboutTessary.h"
#include "frmTessaryIntro.h"

namespace tessary {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  static void Hover(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }

  // Drops `path` on the window as a file manager does; whether it was
  // taken.
  static bool Drop(WindowFixture& f, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const auto copy = Qt::CopyAction;
    QDragEnterEvent enter(QPoint(5, 5), copy, &data, Qt::LeftButton, {});
    QApplication::sendEvent(f.window.get(), &enter);
    QDropEvent drop(QPointF(5, 5), copy, &data, Qt::LeftButton, {});
    QApplication::sendEvent(f.window.get(), &drop);
    return enter.isAccepted();
  }

  // The one tab in front: its frame alone is shown and its label alone
  // has the frame's colour; the other labels are grey.
  static int ActiveTab(const WindowFixture& f) {
    int active = -1;
    for (int i = 0; i < 5; ++i) {
      const auto* frame = f.find(Indexed("fraOptions", i));
      const bool front = frame->isVisible();
      const mapgen::Colour label = BackColor(f.find(Indexed("lblToolbar", i)));
      if (label != (front ? BackColor(frame) : kLightGrey)) return -2;
      if (front) active = active == -1 ? i : -2;
    }
    return active;
  }

 private slots:
  // The start state; then the command line, whose arguments, joined, are
  // one path, quotes and blanks included.
  void startAndCommandLine() {
    WindowFixture f;
    const QString base = f.base.path();
    QCOMPARE(f.commands(), "build");
    QCOMPARE(ActiveTab(f), 0);
    mapgen::MapSettings expected;
    expected.txtDir = base.toStdString();
    QVERIFY(f.window->settings() == expected);

    f.window->OpenCommandLine(Module1::JoinCommandLine({"\"" + base + "\""}));
    QCOMPARE(f.messages(), QStringList{"User's command line is in error:\n"
                                       "No such file or directory"});
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), base);
    f.window->Form_Load("given");
    QCOMPARE(ActiveTab(f), 4);
    QVERIFY(QDir(base).mkdir("my  site"));
    QDir::setCurrent(base);
    f.window->OpenCommandLine(Module1::JoinCommandLine({"my", " site"}));
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), base + "/my  site");
  }

  // The base folder, chosen in the tree or dropped from a file manager,
  // shows in its three places, read-only and as its letters, and reaches
  // the settings; the output name follows it unless locked; a drive root
  // brings a caution. The file list shows no folders, not even those its
  // model keeps from earlier visits.
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
    QVERIFY(!Drop(f, base + "/page.html"));  // not a folder
    QVERIFY(Drop(f, b));
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
    auto* caution = f.find("Label4");
    QVERIFY(caution->isHidden());
    f.change("/");
    QCOMPARE(name->text(), "/sitemap.html");
    QVERIFY(!caution->isHidden() && !f.find("Label5")->isHidden());
    f.change(base);
    QCOMPARE(name->text(), base + "/sitemap.html");
    QVERIFY(caution->isHidden() && f.find("Label5")->isHidden());
    auto* list = f.find<QListView>("File1");
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 1);
    QCOMPARE(list->model()->index(0, 0, list->rootIndex()).data().toString(),
             "page.html");
  }

  // Each label brings its tab to the front, and so do the shortcuts and
  // the controls that lead to a tab. The hovered label shows blue text, on
  // white unless it is the active tab; leaving over a frame or the window
  // clears the highlight.
  void tabStrip() {
    WindowFixture f;
    for (int tab : {4, 0, 1, 2, 3}) {
      f.find("cmdExit")->setFocus();
      QTest::mouseClick(f.find(Indexed("lblToolbar", tab)), Qt::LeftButton);
      QCOMPARE(ActiveTab(f), tab);
      QCOMPARE(f.window->focusWidget(),
               f.find(tab == 4 ? "cmdBuildMap" : "cmdExit"));
    }
    QApplication::setActiveWindow(f.window.get());
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_F7);
    QCOMPARE(ActiveTab(f), 2);
    QTest::keyClick(f.window.get(), Qt::Key_F9);
    QCOMPARE(ActiveTab(f), 4);
    QTest::mouseClick(f.find("lblDir"), Qt::LeftButton);
    QCOMPARE(ActiveTab(f), 0);
    QCOMPARE(f.window->focusWidget(), f.find("Dir1"));
    f.click("cmdOK");
    QCOMPARE(ActiveTab(f), 4);
    f.find<QAction>("mnuContent")->trigger();
    f.click("cmdChangeDirectory");
    QCOMPARE(ActiveTab(f), 0);

    const mapgen::Colour active = BackColor(f.find("fraOptions(0)"));
    auto colours = [&f](int i) {
      const QWidget* label = f.find(Indexed("lblToolbar", i));
      return std::pair{ForeColor(label), BackColor(label)};
    };
    Hover(f.find("lblToolbar(3)"));
    QCOMPARE(colours(3), std::pair(kBlue, kWhite));
    Hover(f.find("lblToolbar(0)"));
    QCOMPARE(colours(0), std::pair(kBlue, active));
    QCOMPARE(colours(3), std::pair(kBlack, kLightGrey));
    Hover(f.find("fraOptions(0)"));
    QCOMPARE(colours(0), std::pair(kBlack, active));
    Hover(f.find("lblToolbar(2)"));
    Hover(f.window->centralWidget());
    QCOMPARE(colours(2), std::pair(kBlack, kLightGrey));
    // Leaving upwards, through the menu bar, clears it as well.
    Hover(f.find("lblToolbar(1)"));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.find("lblToolbar(1)"), &leave);
    QCOMPARE(colours(1), std::pair(kBlack, kLightGrey));
  }

  // From the start and after any tab switch, every frame has its designed
  // place, the command buttons take clicks at every corner, and the
  // Folder tab's OK lies whole inside its tab.
  void layoutOnEveryTab() {
    WindowFixture f;
    QWidget* form = f.window->centralWidget();
    auto takesClicks = [form](QWidget* control) {
      const QRect inside = control->rect().adjusted(0, 0, -1, -1);
      for (QPoint corner : {inside.topLeft(), inside.topRight(),
                            inside.bottomLeft(), inside.bottomRight()}) {
        const QPoint point = control->mapTo(form, corner);
        if (form->childAt(point) != control) return false;
      }
      return true;
    };
    for (int tab : {-1, 1, 0, 4, 2, 0}) {
      if (tab >= 0) f.window->lblToolbar_Click(tab);
      const QString after = QString("after tab %1: ").arg(tab);
      for (int i = 0; i < 5; ++i) {
        QCOMPARE(f.find(Indexed("fraOptions", i))->geometry(),
                 ToPixels({0, 240, 8055, 5535}));
      }
      for (const char* name :
           {"cmdBuildMap", "cmdPreview", "cmdSave", "cmdExit"}) {
        QVERIFY2(takesClicks(f.find(name)), qPrintable(after + name));
      }
    }
    auto* ok = f.find("cmdOK");
    QCOMPARE(ok->geometry(), ToPixels({6960, 4320, 975, 495}));
    QVERIFY(takesClicks(ok));
    QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(ok->width() - 1, 0));
    QCOMPARE(ActiveTab(f), 4);
  }

  // A double click chooses a folder and opens it to list its subfolders;
  // the highlight then moves on its own, and the current folder stands
  // apart from it.
  void doubleClickOpensFolder() {
    WindowFixture f;
    const QString a = f.base.path() + "/a";
    QVERIFY(QDir().mkpath(a + "/inner"));
    auto* tree = f.find<QTreeView>("Dir1");
    const auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    const QModelIndex folder = model->index(a);
    QTRY_VERIFY(tree->visualRect(folder).isValid());
    // As a mouse does it: a click, then the second press as a double click.
    const QPoint where = tree->visualRect(folder).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, where);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, where);
    QCOMPARE(f.window->settings().txtDir, a.toStdString());
    QVERIFY(tree->isExpanded(folder));
    const QModelIndex inner = model->index(a + "/inner");
    QTRY_VERIFY(tree->visualRect(inner).isValid());
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(tree->currentIndex(), inner);
    QCOMPARE(f.window->settings().txtDir, a.toStdString());
    auto bold = [](const QModelIndex& index) {
      return index.data(Qt::FontRole).value<QFont>().bold();
    };
    QVERIFY(bold(folder) && !bold(inner));
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

  void realMessageBox_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Escape") << true;
    QTest::newRow("close button") << false;
  }

  // The real box: as wide as its title, names as their letters, and
  // Escape or the close button answer Cancel where there is one.
  void realMessageBox() {
    QFETCH(bool, escape);
    const QString title = "Problem with file /a/rather/long/folder/name/"
                          "that/goes/on/and/on/sitemap.html";
    int width = 0;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
      for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr || !box->isVisible()) continue;
        width = box->width() -
                QApplication::fontMetrics().horizontalAdvance(title);
        format = box->findChild<QLabel*>("qt_msgbox_label")->textFormat();
        if (escape) {
          QTest::keyClick(box, Qt::Key_Escape);
        } else {
          box->close();
        }
      }
    });
    QtMessageBoxes boxes;
    const MessageAnswer answer = boxes.Show(
        nullptr, {title, "<b>x</b><img src=y>", MessageIcon::kNone,
                  MessageButtons::kYesNoCancel});
    QCOMPARE(answer, MessageAnswer::kCancel);
    // Beside the title, the frame shows an icon and three buttons.
    QVERIFY(width >= 100);
    QCOMPARE(format, Qt::PlainText);
  }

  // The browsers in turn until one starts, then the user's choice from
  // /usr/bin; a choice that does not start and a failed dialog are told.
  void browserChain() {
    FakeDesktop fakes;
    fakes.launcher.startable = {"firefox", "chromium"};
    OpenBrowser("my page", fakes.desktop, nullptr);
    QCOMPARE(fakes.launcher.tried,
             (QStringList{"xdg-open|my page", "sensible-browser|my page",
                          "x-www-browser|my page", "firefox|my page"}));
    QVERIFY(fakes.dialog.fileRequests.empty());

    fakes.launcher.startable = {"/opt/good"};
    fakes.dialog.files = {{DialogOutcome::kCancelled, {}, {}},
                          {DialogOutcome::kChosen, "/opt/good", {}},
                          {DialogOutcome::kChosen, "/opt/bad", {}},
                          {DialogOutcome::kFailed, {}, "No memory"}};
    for (int i = 0; i < 4; ++i) OpenBrowser("page", fakes.desktop, nullptr);
    QCOMPARE(fakes.dialog.fileRequests.at(0).initialFolder, "/usr/bin");
    QCOMPARE(fakes.launcher.tried.at(14), "/opt/good|page");
    QCOMPARE(fakes.messageBoxes.texts(),
             (QStringList{"No such file or directory", "No memory"}));
  }

  void textEditorChain_data() {
    QTest::addColumn<QString>("entry");  // registered for plain text
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<QStringList>("startable");
    QTest::addColumn<QString>("started");  // empty: nothing could start
    const QString vim = "Exec=vim %F\nTerminal=true";
    QTest::newRow("an editor with a window")
        << "Exec=myedit --new %U\nTerminal=false" << "" << QStringList{"myedit"}
        << "myedit|--new|/w/a b";
    QTest::newRow("a terminal program, $TERMINAL")
        << vim << "kitty" << QStringList{"kitty", "x-terminal-emulator"}
        << "kitty|-e|vim|/w/a b";
    QTest::newRow("a terminal program, the system's terminal")
        << vim << "" << QStringList{"x-terminal-emulator"}
        << "x-terminal-emulator|-e|vim|/w/a b";
    QTest::newRow("no editor but what gio opens")
        << "" << "" << QStringList{"gio"} << "gio|open|/w/a b";
    QTest::newRow("nothing") << vim << "" << QStringList{} << "";
  }

  // The editor registered for plain text, in the user's terminal when its
  // entry needs one; then the usual editors; then what gio opens.
  void textEditorChain() {
    QFETCH(QString, entry);
    QFETCH(QString, terminal);
    QFETCH(QStringList, startable);
    QFETCH(QString, started);
    QTemporaryDir data;
    QVERIFY(QDir(data.path()).mkpath("applications"));
    QFile file(data.path() + "/applications/editor.desktop");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nName=Editor\n" + entry.toUtf8() + "\n");
    file.close();
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("XDG_DATA_DIRS", data.path().toUtf8());
    qputenv("TERMINAL", terminal.toUtf8());
    FakeLauncher launcher;
    launcher.startable = startable;
    if (!entry.isEmpty()) launcher.printed["xdg-mime"] = "editor.desktop\n";
    QCOMPARE(OpenTextEditor("/w/a b", launcher), !started.isEmpty());
    // Each start that fails leads to the next; the last tried is the one
    // that started.
    QCOMPARE(launcher.tried.last(),
             started.isEmpty() ? "gio|open|/w/a b" : started);
  }

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

  // The build tree has the page beside the program, an installation in
  // ../share/tessary.
  void helpPageBesideOrInstalled() {
    QTemporaryDir prefix;
    const QString bin = prefix.path() + "/bin";
    const QString beside = bin + "/tessaryhelp.htm";
    const QString installed = prefix.path() + "/share/tessary/tessaryhelp.htm";
    QVERIFY(QDir(prefix.path()).mkpath("share/tessary") && QDir().mkpath(bin));
    QCOMPARE(HelpPagePath(bin), beside);
    QVERIFY(QFile(installed).open(QIODevice::WriteOnly));
    QCOMPARE(HelpPagePath(bin), installed);
    QVERIFY(QFile(beside).open(QIODevice::WriteOnly));
    QCOMPARE(HelpPagePath(bin), beside);
  }

  // Asked twice, one box; the program's end closes it too.
  void aboutBoxOpensOnce() {
    WindowFixture f;
    f.find<QAction>("mnuAboutTessary")->trigger();
    f.find<QAction>("mnuAboutTessary")->trigger();
    const auto boxes = f.window->findChildren<frmAboutTessary*>();
    QCOMPARE(boxes.size(), qsizetype(1));
    QVERIFY(boxes[0]->isVisible());
    f.window->close();
    QTRY_VERIFY(f.window->findChildren<frmAboutTessary*>().isEmpty());
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::MainWindowTest)
#include "MainWindowTest.moc"
