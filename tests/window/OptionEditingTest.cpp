// Option edits and the change tracking behind Build and the output
// commands; the colour and image choosers.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "ColorSwatch.h"
#include "Colours.h"
#include "WindowFixture.h"

namespace tessary {

class OptionEditingTest : public QObject {
  Q_OBJECT

 private:
  // Edits a control as a user would; a disabled one as the program does.
  static void Edit(QWidget* control) {
    if (auto* box = qobject_cast<QLineEdit*>(control); box && !box->isEnabled()) {
      box->setText(box->text() + "x");
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
      QTest::keyClicks(combo->lineEdit(), "x");
    } else {
      QTest::keyClicks(control, "x");
    }
  }

  static void OpenTabOf(WindowFixture& f, QWidget* control) {
    for (int i = 0; i < 5; ++i) {
      if (f.find(Indexed("fraOptions", i))->isAncestorOf(control)) {
        f.window->lblToolbar_Click(i);
      }
    }
  }

 private slots:
  void editMarksMapOutOfDate_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("outOfDate");
    for (const char* name :
         {"txtTitle", "txtPreface", "txtAppendix", "chkShowSubfolders",
          "chkShowEmpties", "chkExtension(5)", "txtExtensions", "chkHTMext",
          "optStyle(2)", "chkSafeLinks", "chkBannerImage", "chkBullets", "chkIndent",
          "chkLines", "cmbFont", "cmbSize(0)", "cmbTitleAlign", "chkColor(4)",
          "chkBgImage", "txtImage"}) {
      QTest::newRow(name) << name << true;
    }
    // An unused banner name does not reach the page.
    QTest::newRow("txtBannerImage unused") << "txtBannerImage" << false;
  }

  void editMarksMapOutOfDate() {
    QFETCH(QString, control);
    QFETCH(bool, outOfDate);
    WindowFixture f;
    QWidget* widget = f.find(control);
    OpenTabOf(f, widget);
    f.window->SetButtons(2);
    Edit(widget);
    QCOMPARE(f.commands(), outOfDate ? "build" : "output");
    QCOMPARE(f.window->MapBuilt(), !outOfDate);
  }

  void editedValuesReachTheSettings() {
    WindowFixture f;
    f.window->lblToolbar_Click(2);
    QTest::keyClicks(f.find("txtPreface"), "one");
    QTest::keyClick(f.find("txtPreface"), Qt::Key_Return);
    QTest::keyClicks(f.find("txtPreface"), "two");
    f.window->lblToolbar_Click(3);
    f.find<QComboBox>("cmbFont")->lineEdit()->clear();
    QTest::keyClicks(f.find<QComboBox>("cmbFont")->lineEdit(), "Default");
    f.find<QComboBox>("cmbSize(2)")->setCurrentIndex(5);
    f.find<QCheckBox>("chkColor(3)")->setCheckState(Qt::PartiallyChecked);
    f.window->lblToolbar_Click(1);
    QTest::mouseClick(f.find("optStyle(3)"), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(f.find("chkShowSubfolders"), Qt::LeftButton, {}, QPoint(5, 5));

    const mapgen::MapSettings& settings = f.window->settings();
    QCOMPARE(settings.txtPreface, "one\r\ntwo");
    QCOMPARE(settings.cmbFont, "Default");
    QCOMPARE(settings.cmbSize[2], "+5");
    QCOMPARE(settings.chkColor[3], 2);
    QVERIFY((settings.optStyle == std::array<bool, 4>{false, false, false, true}));
    QCOMPARE(settings.chkShowSubfolders, 0);
    // A disabled option keeps its value.
    QVERIFY(!f.find("chkShowEmpties")->isEnabled());
    QCOMPARE(settings.chkShowEmpties, 1);
  }

  void dependentControls() {
    WindowFixture f;
    auto* banner = f.find<QCheckBox>("chkBannerImage");
    auto* background = f.find<QCheckBox>("chkBgImage");
    banner->setChecked(true);
    background->setChecked(true);
    for (const char* name : {"txtBannerImage", "cmdImageBrowse",
                             "cmbBannerAlign", "txtImage", "cmdFindImage"}) {
      QVERIFY2(f.find(name)->isEnabled(), name);
    }
    QVERIFY(!f.find("lblX(0)")->isEnabled());
    banner->setChecked(false);
    for (const char* name : {"txtBannerImage", "cmdImageBrowse", "cmbBannerAlign"}) {
      QVERIFY2(!f.find(name)->isEnabled(), name);
    }
    QVERIFY(f.find("txtImage")->isEnabled());
  }

  void colourChoice_data() {
    QTest::addColumn<bool>("inUse");
    QTest::newRow("colour not in use") << false;
    QTest::newRow("colour in use") << true;
  }

  void colourChoice() {
    QFETCH(bool, inUse);
    WindowFixture f;
    f.window->lblToolbar_Click(3);
    f.find<QCheckBox>("chkColor(2)")->setChecked(inUse);
    f.window->SetButtons(2);
    auto* swatch = f.find<ColorSwatch>("cmdColor(2)");
    f.fakes.dialog.colours = {{DialogOutcome::kCancelled, {}, {}},
                              {DialogOutcome::kChosen, QColor(0x12, 0x34, 0x56), {}}};

    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(swatch->colour(), mapgen::Colour{0x00FF0000});
    QCOMPARE(f.commands(), "output");

    QTest::mouseClick(swatch, Qt::LeftButton);
    QCOMPARE(f.fakes.dialog.colourDialogs, 2);
    QCOMPARE(swatch->colour(), mapgen::Colour{0x00563412});
    QCOMPARE(f.window->settings().shpColor[2], mapgen::Colour{0x00563412});
    QCOMPARE(f.commands(), inUse ? "build" : "output");
  }

  void imageChoice_data() {
    QTest::addColumn<QString>("chosen");  // below the base folder's parent
    QTest::addColumn<QString>("expected");
    QTest::newRow("in the base folder") << "Web/back.gif" << "back.gif";
    QTest::newRow("letter case ignored") << "WEB/BACK.GIF" << "BACK.GIF";
    QTest::newRow("in a subfolder") << "Web/img/back.gif" << "img/back.gif";
    QTest::newRow("outside") << "pics/back.gif" << "";
    QTest::newRow("name-prefixed folder") << "Website/back.gif" << "";
  }

  void imageChoice() {
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    WindowFixture f;
    const QString base = f.base.path() + "/Web";
    QString reason;
    QVERIFY(QDir(f.base.path()).mkdir("Web") && f.window->ChangeFolder(base, reason));
    f.window->lblToolbar_Click(3);
    f.find<QCheckBox>("chkBgImage")->setChecked(true);
    f.window->SetButtons(2);
    f.fakes.dialog.files = {{DialogOutcome::kChosen, f.base.path() + "/" + chosen, {}}};

    QTest::mouseClick(f.find<QAbstractButton>("cmdFindImage"), Qt::LeftButton);

    const FileOpenRequest& request = f.fakes.dialog.fileRequests.at(0);
    QCOMPARE(request.title, "Select Background Image");
    QCOMPARE(request.initialFolder, base);
    QCOMPARE(request.filters.value(request.filterIndex),
             "Image Files (*.jpg *.jpeg *.gif *.bmp)");
    QCOMPARE(request.filters.size(), 4);
    const QString shown = f.find<QLineEdit>("txtImage")->text();
    if (expected.isEmpty()) {
      QCOMPARE(shown, "[none]");
      QCOMPARE(int(f.fakes.messageBoxes.shown.size()), 1);
      QCOMPARE(f.fakes.messageBoxes.shown[0].text, "File should reside within " + base);
      QCOMPARE(f.fakes.messageBoxes.shown[0].title, "Tessary");
      QCOMPARE(f.commands(), "output");
    } else {
      QCOMPARE(shown, expected);
      QVERIFY(f.fakes.messageBoxes.shown.empty());
      QCOMPARE(f.commands(), "build");
    }
  }

  void imageDialogCancelOrFailure() {
    WindowFixture f;
    f.window->lblToolbar_Click(1);
    f.find<QCheckBox>("chkBannerImage")->setChecked(true);
    f.window->SetButtons(2);
    f.fakes.dialog.files = {{DialogOutcome::kCancelled, {}, {}},
                            {DialogOutcome::kFailed, {}, "Out of memory"}};
    auto* browse = f.find<QAbstractButton>("cmdImageBrowse");
    QTest::mouseClick(browse, Qt::LeftButton);
    QVERIFY(f.fakes.messageBoxes.shown.empty());
    QTest::mouseClick(browse, Qt::LeftButton);
    QCOMPARE(f.fakes.dialog.fileRequests.at(1).title, "Select Banner Image");
    QCOMPARE(int(f.fakes.messageBoxes.shown.size()), 1);
    QCOMPARE(f.fakes.messageBoxes.shown[0].title, "");
    QCOMPARE(f.fakes.messageBoxes.shown[0].text, "Out of memory");
    QCOMPARE(f.find<QLineEdit>("txtBannerImage")->text(), "[none]");
    QCOMPARE(f.commands(), "output");
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::OptionEditingTest)
#include "OptionEditingTest.moc"
