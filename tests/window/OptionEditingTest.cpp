// Option edits and the change tracking behind Build and the output
// commands; the colour and image choosers.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <map>

#include "ColorSwatch.h"
#include "MapField.h"
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
    } else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->isEditable()) {
      QTest::keyClicks(combo->lineEdit(), "x");
    } else if (combo && !combo->isEnabled()) {
      combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
    } else if (combo) {
      QTest::keyClick(combo, Qt::Key_Down);
    } else {
      QTest::keyClicks(control, "x");
    }
  }

  // Every field at a value other than its default.
  static mapgen::MapSettings Unusual() {
    using K = mapgen::FieldKind;
    mapgen::MapSettings settings;
    for (const mapgen::MapField& field : mapgen::MapFields()) {
      const std::map<K, std::string> values = {
          {K::kText, "x" + field.Name()},
          {K::kCheck, "2"},
          {K::kSwitch, "1"},
          {K::kStyle, field.Index() == 2 ? "1" : ""},
          {K::kColour, std::to_string(0x123456 + field.Index())}};
      // Fields whose check takes only values of a certain form.
      const std::map<std::string, std::string> formed = {{"cmbTemplate", "modern"},
                                                         {"cmbLastmod", "git"},
                                                         {"txtSiteUrl", "https://example.org/x/"}};
      const auto form = formed.find(field.Name());
      const std::string& value = form != formed.end() ? form->second : values.at(field.Kind());
      if (value.empty()) continue;
      if (const auto set = field.Set(settings, value); !set) {
        qFatal("%s", set.failure().reason.c_str());
      }
    }
    settings.txtPreface = "two\r\nlines";
    settings.txtExclude = "node_modules\n*.bak";
    return settings;
  }

  static std::string Text(const mapgen::MapSettings& settings) {
    std::string text;
    mapgen::AppendSettingsText(text, settings);
    return text;
  }

  static void WriteFile(const QString& path, const std::string& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.data(), qint64(text.size()));
  }

  static void OpenSettings(WindowFixture& f, const QString& path) {
    f.fakes.dialog.files = {{DialogOutcome::kChosen, path, {}}};
    f.find<QAction>("mnuOpenSettings")->trigger();
  }

  static void OpenTabOf(WindowFixture& f, QWidget* control) {
    for (int i = 0; i < frmTessary::kTabs; ++i) {
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
         {"txtTitle",       "txtPreface",       "txtAppendix",    "chkShowSubfolders",
          "chkShowEmpties", "chkExtension(5)",  "txtExtensions",  "chkHTMext",
          "optStyle(2)",    "chkSafeLinks",     "chkBannerImage", "chkBullets",
          "chkIndent",      "chkLines",         "cmbFont",        "cmbSize(0)",
          "cmbTitleAlign",  "chkColor(4)",      "chkBgImage",     "txtImage",
          "txtExclude",     "chkLastExtension", "chkUtf8",        "txtLinkPrefix",
          "cmbTemplate",    "txtLang",          "chkCollapsed",   "chkSitemapXml",
          "txtSiteUrl",     "chkFollowOutside", "cmbLastmod",     "txtRobotsTxt"}) {
      QTest::newRow(name) << name << true;
    }
    // An unused banner name does not reach the page.
    QTest::newRow("txtBannerImage unused") << "txtBannerImage" << false;
  }

  // Every edit reaches the settings; one that alters the page brings back
  // the start state.
  void editMarksMapOutOfDate() {
    QFETCH(QString, control);
    QFETCH(bool, outOfDate);
    WindowFixture f;
    QWidget* widget = f.find(control);
    OpenTabOf(f, widget);
    f.window->SetButtons(2);
    const mapgen::MapSettings before = f.window->settings();
    Edit(widget);
    QCOMPARE(f.commands(), outOfDate ? "build" : "output");
    QVERIFY(!(f.window->settings() == before));
  }

  // The image controls wait for their check boxes; the empty folders'
  // box for subfolders, and keeps its value while it waits.
  void dependentControls() {
    WindowFixture f;
    auto enabled = [&f] {
      QStringList on;
      for (const char* name : {"txtBannerImage", "cmbBannerAlign", "txtImage", "chkShowEmpties"}) {
        if (f.find(name)->isEnabled()) on << name;
      }
      return on.join(' ');
    };
    QCOMPARE(enabled(), "chkShowEmpties");
    f.find<QCheckBox>("chkBannerImage")->setChecked(true);
    f.find<QCheckBox>("chkBgImage")->setChecked(true);
    f.find<QCheckBox>("chkShowSubfolders")->setChecked(false);
    QCOMPARE(enabled(), "txtBannerImage cmbBannerAlign txtImage");
    QCOMPARE(f.window->settings().chkShowEmpties, 1);
    f.find<QCheckBox>("chkBannerImage")->setChecked(false);
    QCOMPARE(enabled(), "txtImage");
  }

  // A cancelled choice leaves the colour; a chosen one shows on the swatch
  // and makes the map out of date only while its check box is on.
  void colourChoice() {
    for (bool inUse : {false, true}) {
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
      QCOMPARE(swatch->colour(), mapgen::Colour{0x00563412});
      QCOMPARE(f.window->settings().shpColor[2], mapgen::Colour{0x00563412});
      QCOMPARE(f.commands(), inUse ? "build" : "output");
    }
  }

  // A settings file shows every field in its control, from which it
  // reaches the settings, and marks the map out of date; saved again it
  // is the same file. A wrong line, or no file, changes nothing and says
  // where.
  void settingsFiles() {
    WindowFixture f;
    const std::string text = Text(Unusual());
    const QString all = f.base.path() + "/all.tessary";
    WriteFile(all, text);
    f.window->SetButtons(2);
    OpenSettings(f, all);
    QCOMPARE(Text(f.window->settings()), text);
    QCOMPARE(f.commands(), "build");
    QVERIFY(f.find<QCheckBox>("chkSitemapXml")->isChecked());

    f.fakes.dialog.files = {{DialogOutcome::kChosen, f.base.path() + "/again", {}}};
    f.find<QAction>("mnuSaveSettings")->trigger();
    const FileOpenRequest& request = f.fakes.dialog.saveRequests.at(0);
    QCOMPARE(request.filters.value(request.filterIndex), "Tessary settings (*.tessary)");
    QFile again(f.base.path() + "/again.tessary");
    QVERIFY(again.open(QIODevice::ReadOnly));
    QCOMPARE(again.readAll().toStdString(), text);

    const QString wrong = f.base.path() + "/wrong.tessary";
    WriteFile(wrong, "chkUtf8=0\nchkNone=1\n");
    OpenSettings(f, wrong);
    const QString unusable = f.base.path() + "/unusable.tessary";
    WriteFile(unusable, "chkUtf8=0\ncmbTemplate=fancy\n");
    OpenSettings(f, unusable);
    OpenSettings(f, f.base.path() + "/missing.tessary");
    QCOMPARE(f.messages(), QStringList({wrong + ":2: unknown field chkNone",
                                        unusable + ":2: cmbTemplate takes classic, modern or "
                                                   "nothing, not fancy",
                                        f.base.path() + "/missing.tessary\n"
                                                        "No such file or directory"}));
    QCOMPARE(f.fakes.messageBoxes.shown.back().title, "Problem with file");
    QCOMPARE(Text(f.window->settings()), text);
  }

  // Which browse button, what the dialog did and where the chosen file
  // lies below the base folder's parent; the name shown, and the message
  // ("%1": the base folder).
  void imageChoice_data() {
    QTest::addColumn<bool>("banner");
    QTest::addColumn<DialogOutcome>("outcome");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");
    const auto ok = DialogOutcome::kChosen;
    const QString away = "File should reside within %1";
    QTest::newRow("inside") << false << ok << "Web/a.gif"
                            << "a.gif"
                            << "";
    QTest::newRow("letter case counts") << false << ok << "WEB/A.GIF"
                                        << "[none]" << away;
    QTest::newRow("in a subfolder") << false << ok << "Web/b/a.gif"
                                    << "b/a.gif"
                                    << "";
    QTest::newRow("outside") << false << ok << "pics/a.gif"
                             << "[none]" << away;
    QTest::newRow("name-prefixed") << false << ok << "Webs/a.gif"
                                   << "[none]" << away;
    QTest::newRow("banner") << true << ok << "Web/a.gif"
                            << "a.gif"
                            << "";
    QTest::newRow("banner, cancelled") << true << DialogOutcome::kCancelled << ""
                                       << "[none]"
                                       << "";
    QTest::newRow("dialog failed") << false << DialogOutcome::kFailed << ""
                                   << "[none]"
                                   << "Out of memory";
  }

  void imageChoice() {
    QFETCH(bool, banner);
    QFETCH(DialogOutcome, outcome);
    QFETCH(QString, chosen);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    WindowFixture f;
    const QString base = f.base.path() + "/Web";
    QVERIFY(QDir(f.base.path()).mkdir("Web"));
    f.change(base);
    f.window->lblToolbar_Click(banner ? 1 : 3);
    f.find<QCheckBox>(banner ? "chkBannerImage" : "chkBgImage")->setChecked(true);
    f.window->SetButtons(2);
    // The error counts only when the dialog failed.
    f.fakes.dialog.files = {{outcome, f.base.path() + "/" + chosen, "Out of memory"}};
    f.click(banner ? "cmdImageBrowse" : "cmdFindImage");

    const FileOpenRequest& request = f.fakes.dialog.fileRequests.at(0);
    QCOMPARE(request.initialFolder, base);
    QCOMPARE(request.filters.value(request.filterIndex), "Image Files (*.jpg *.jpeg *.gif *.bmp)");
    QCOMPARE(f.find<QLineEdit>(banner ? "txtBannerImage" : "txtImage")->text(), shown);
    QCOMPARE(f.messages().join('\n'), message.replace("%1", base));
    QCOMPARE(f.commands(), shown == "[none]" ? "output" : "build");
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::OptionEditingTest)
#include "OptionEditingTest.moc"
