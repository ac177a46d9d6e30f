// The base folder: where it shows, the output name that follows it, the
// caution for a drive root, and folders that cannot be shown.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

#include "WindowFixture.h"

namespace tessary {

class FolderSelectionTest : public QObject {
  Q_OBJECT

 private:
  static QString Folder(WindowFixture& f, const char* name) {
    QDir(f.base.path()).mkdir(name);
    return f.base.path() + "/" + name;
  }

  static void Change(WindowFixture& f, const QString& folder) {
    QString reason;
    QVERIFY2(f.window->ChangeFolder(folder, reason), qPrintable(reason));
  }

 private slots:
  void outputNameFollowsUnlessLocked() {
    WindowFixture f;
    auto* name = f.find<QLineEdit>("txtMapFile");
    const QString a = Folder(f, "a");
    const QString b = Folder(f, "b");
    Change(f, a);
    QCOMPARE(name->text(), a + "/sitemap.html");

    name->setText("/srv/www/map.html");
    f.find<QCheckBox>("chkLockFilename")->setChecked(true);
    f.window->SetButtons(2);
    Change(f, b);
    QCOMPARE(name->text(), "/srv/www/map.html");
    QCOMPARE(f.commands(), "build");
    for (const char* shown : {"lblDir", "lblSelectedFolder"}) {
      QCOMPARE(f.find<QLabel>(shown)->text(), b);
    }
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), b);
    QCOMPARE(f.window->settings().txtDir, b.toStdString());

    f.find<QCheckBox>("chkLockFilename")->setChecked(false);
    Change(f, a);
    QCOMPARE(name->text(), a + "/sitemap.html");
  }

  void rootCaution() {
    WindowFixture f;
    auto* caution = f.find("Label4");
    auto* text = f.find("Label5");
    QVERIFY(caution->isHidden() && text->isHidden());
    Change(f, "/");
    QVERIFY(!caution->isHidden() && !text->isHidden());
    QCOMPARE(f.find<QLineEdit>("txtMapFile")->text(), "/sitemap.html");
    Change(f, f.base.path());
    QVERIFY(caution->isHidden() && text->isHidden());
  }

  void fileListShowsPlainFilesOnly() {
    WindowFixture f;
    const QString sub = Folder(f, "sub");
    QFile(f.base.path() + "/page.html").open(QIODevice::WriteOnly);
    Change(f, sub);
    Change(f, f.base.path());
    auto* list = f.find<QListView>("File1");
    auto listed = [list] {
      QStringList names;
      for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
        names << list->model()->index(row, 0, list->rootIndex()).data().toString();
      }
      return names;
    };
    QTRY_COMPARE(listed(), QStringList{"page.html"});
  }

  void folderThatCannotBeShown() {
    WindowFixture f;
    QString reason;
    QVERIFY(!f.window->ChangeFolder(f.base.path() + "/gone", reason));
    QCOMPARE(reason, "No such file or directory");
    QCOMPARE(f.find<QLineEdit>("txtDir")->text(), f.base.path());
  }

  void baseFolderBoxIsReadOnly() {
    WindowFixture f;
    f.window->lblToolbar_Click(1);
    auto* box = f.find<QLineEdit>("txtDir");
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "x");
    QCOMPARE(box->text(), f.base.path());
    QCOMPARE(int(f.fakes.messageBoxes.shown.size()), 1);
    QCOMPARE(f.fakes.messageBoxes.shown[0].text, "Use browse button [...] to modify.");
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::FolderSelectionTest)
#include "FolderSelectionTest.moc"
