// The desktop seams' own behaviour: the real message box, the browser
// chain and the help page's place. Escape on the real box is tried by
// desktop_session.sh.
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FakeDesktop.h"
#include "HelpPage.h"
#include "OpenBrowser.h"
#include "QtDesktop.h"

namespace tessary {

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  // The real box: as wide as its title, names as their letters, and its
  // close button answers Cancel where there is one, as Escape does.
  void realMessageBox() {
    const QString title =
        "Problem with file /a/rather/long/folder/name/"
        "that/goes/on/and/on/sitemap.html";
    int width = 0;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
      QWidget* box = QApplication::activeModalWidget();
      width = box->width() - QFontMetrics(QApplication::font()).horizontalAdvance(title);
      format = box->findChild<QLabel*>("qt_msgbox_label")->textFormat();
      box->close();
    });
    const MessageAnswer answer = QtMessageBoxes().Show(
        nullptr, {title, "<b>x</b><img src=y>", MessageIcon::kNone, MessageButtons::kYesNoCancel});
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
    QCOMPARE(fakes.launcher.tried, (QStringList{"xdg-open|my page", "sensible-browser|my page",
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
    QCOMPARE(fakes.messageBoxes.texts, (QStringList{"No such file or directory", "No memory"}));
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
};

}  // namespace tessary

QTEST_MAIN(tessary::DesktopTest)
#include "DesktopTest.moc"
