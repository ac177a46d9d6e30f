// The window for users without a mouse, with a screen reader or on a dark
// or high-contrast theme: where Tab goes, what every control is called,
// the keys of the tab strip and the text boxes, the colour swatches as
// buttons, and captions that stay readable.
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleFactory>

#include "ColorSwatch.h"
#include "Legibility.h"
#include "WindowFixture.h"

namespace tessary {

class AccessibilityTest : public QObject {
  Q_OBJECT

 private:
  static QWidget* Focused() { return QApplication::focusWidget(); }

  static void Press(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(Focused(), Qt::Key(key), modifiers);
  }

  static void Activate(WindowFixture& f) {
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
  }

  // The controls Tab (or Shift+Tab) stops on, from the strip of tab `tab`
  // until it comes back there.
  static QStringList Stops(WindowFixture& f, int tab, Qt::KeyboardModifiers modifiers = {}) {
    f.window->lblToolbar_Click(tab);
    QWidget* strip = f.find(Indexed("lblToolbar", tab));
    strip->setFocus();
    QStringList stops;
    for (int i = 0; i < 100; ++i) {
      Press(Qt::Key_Tab, modifiers);
      if (Focused() == strip) return stops;
      stops << (Focused() ? Focused()->objectName() : "(none)");
    }
    return stops << "(no way back to the tab strip)";
  }

  // Every control the keyboard can reach, on any tab.
  static QList<QWidget*> Focusable(const WindowFixture& f) {
    QList<QWidget*> found;
    for (QWidget* widget : f.window->findChildren<QWidget*>()) {
      if ((widget->focusPolicy() & Qt::TabFocus) && widget->focusProxy() == nullptr &&
          widget->window() == f.window.get()) {
        found << widget;
      }
    }
    // The labels of the tabs behind take the focus once they are in front.
    for (int i = 0; i < frmTessary::kTabs; ++i) {
      QWidget* label = f.find(Indexed("lblToolbar", i));
      if (!found.contains(label)) found << label;
    }
    return found;
  }

  static QString Said(QWidget* widget, QAccessible::Text text = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(text);
  }

  static QPalette Dark() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x45, 0x45, 0x45));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    return dark;
  }

  static QPalette HighContrast() {
    QPalette contrast(Qt::white, Qt::black);  // white on black
    contrast.setColor(QPalette::ButtonText, Qt::yellow);
    return contrast;
  }

  // The colour a caption's text is drawn in: labels in their own role,
  // check boxes, option buttons and group titles in the window's text.
  static QColor TextColour(const QWidget* caption) {
    const QPalette::ColorRole role =
        qobject_cast<const QLabel*>(caption) ? caption->foregroundRole() : QPalette::WindowText;
    return caption->palette().color(role);
  }

  static QString CaptionText(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* box = qobject_cast<const QGroupBox*>(widget)) return box->title();
    if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget)) {
      return static_cast<const QAbstractButton*>(widget)->text();
    }
    return {};
  }

 private slots:
  void initTestCase() { QApplication::setStyle(QStyleFactory::create("Fusion")); }

  void focusOrder_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("stops");  // before the command column
    // One row per tab, its controls as Tab meets them; with their check
    // boxes on, the controls that depend on them too. Option buttons are
    // one stop, the chosen one, and the arrows move among them.
    const QList<QStringList> tabs = {
        {"Drive1", "Dir1", "File1", "cmdOK"},
        {"txtTitle", "txtDir", "cmdChangeDirectory", "chkShowSubfolders", "chkShowEmpties",
         "chkExtension(0)", "chkExtension(1)", "chkExtension(2)", "chkExtension(3)",
         "chkExtension(4)", "chkExtension(5)", "txtExtensions", "chkBannerImage", "txtBannerImage",
         "cmdImageBrowse", "cmbBannerAlign", "optStyle(0)", "chkHTMext", "chkSafeLinks"},
        {"txtPreface", "txtAppendix"},
        {"chkBullets",   "chkLines",    "chkIndent",   "chkBgImage",  "txtImage",
         "cmdFindImage", "cmbFont",     "cmdColor(0)", "chkColor(0)", "cmdColor(1)",
         "chkColor(1)",  "cmbSize(0)",  "cmdColor(2)", "chkColor(2)", "cmdColor(3)",
         "chkColor(3)",  "cmdColor(4)", "chkColor(4)", "cmbSize(1)",  "cmbTitleAlign",
         "cmdColor(5)",  "chkColor(5)", "cmbSize(2)"},
        {"txtMapFile", "cmdChangeOutputPath", "chkLockFilename"},
        {"txtExclude", "chkLastExtension", "chkUtf8", "chkFollowOutside", "cmbTemplate", "txtLang",
         "chkCollapsed", "txtLinkPrefix", "chkSitemapXml", "chkSitemapGz", "txtSitemapXml",
         "txtSiteUrl", "cmbLastmod", "txtRobotsTxt"},
    };
    QCOMPARE(tabs.size(), frmTessary::kTabs);
    for (int tab = 0; tab < frmTessary::kTabs; ++tab) {
      QTest::addRow("tab %d", tab) << tab << tabs[tab];
    }
  }

  // From the tab strip, Tab goes through the front tab's controls, then
  // the command buttons that are enabled, and back to the strip;
  // Shift+Tab goes the same way backwards.
  void focusOrder() {
    QFETCH(int, tab);
    QFETCH(QStringList, stops);
    WindowFixture f;
    Activate(f);
    for (const char* box : {"chkBannerImage", "chkBgImage", "chkSitemapXml"}) {
      f.find<QCheckBox>(box)->setChecked(true);
    }
    stops << "cmdBuildMap"
          << "cmdExit";
    QCOMPARE(Stops(f, tab), stops);
    std::reverse(stops.begin(), stops.end());
    QCOMPARE(Stops(f, tab, Qt::ShiftModifier), stops);
  }

  // The strip takes the focus on the front tab's label: the arrows, Home
  // and End choose a tab and keep the focus there; Ctrl+PgDn and Ctrl+PgUp
  // choose the next and the one before from anywhere.
  void tabStripKeys() {
    WindowFixture f;
    Activate(f);
    auto active = [&f] {
      for (int i = 0; i < frmTessary::kTabs; ++i) {
        if (f.find(Indexed("fraOptions", i))->isVisible()) return i;
      }
      return -1;
    };
    f.find("lblToolbar(0)")->setFocus();
    const std::pair<int, int> steps[] = {{Qt::Key_Right, 1}, {Qt::Key_End, 5},  {Qt::Key_Right, 0},
                                         {Qt::Key_Left, 5},  {Qt::Key_Home, 0}, {Qt::Key_Left, 5}};
    for (auto [key, tab] : steps) {
      Press(key);
      QCOMPARE(active(), tab);
      QCOMPARE(Focused(), f.find(Indexed("lblToolbar", tab)));
    }
    f.window->lblToolbar_Click(2);
    f.find("txtPreface")->setFocus();
    Press(Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(active(), 3);
    Press(Qt::Key_PageUp, Qt::ControlModifier);
    Press(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(active(), 1);
    QCOMPARE(Focused(), f.find("lblToolbar(1)"));
  }

  // Tab and Shift+Tab leave the boxes of several lines; Ctrl+Tab types a
  // tab into the preface and the appendix, which may hold laid-out HTML,
  // but leaves the names to leave out, which hold none.
  void textBoxesLetTabOn() {
    WindowFixture f;
    Activate(f);
    f.window->lblToolbar_Click(2);
    auto* preface = f.find<QPlainTextEdit>("txtPreface");
    preface->setFocus();
    Press(Qt::Key_Tab);
    QCOMPARE(Focused(), f.find("txtAppendix"));
    Press(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(Focused(), preface);
    Press(Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(Focused() == preface && preface->toPlainText() == "\t");
    f.window->lblToolbar_Click(5);
    auto* exclude = f.find<QPlainTextEdit>("txtExclude");
    exclude->setFocus();
    Press(Qt::Key_Tab, Qt::ControlModifier);
    QVERIFY(Focused() == f.find("chkLastExtension") && exclude->toPlainText().isEmpty());
  }

  // A colour changes without a mouse: Space or Enter on a swatch opens the
  // dialog on that swatch's own colour.
  void keyboardColourChange() {
    WindowFixture f;
    Activate(f);
    f.window->lblToolbar_Click(3);
    f.fakes.dialog.colours = {{DialogOutcome::kChosen, QColor(0x12, 0x34, 0x56), {}},
                              {DialogOutcome::kCancelled, {}, {}}};
    auto* link = f.find<ColorSwatch>("cmdColor(2)");
    link->setFocus();
    Press(Qt::Key_Space);
    QCOMPARE(link->colour(), mapgen::Colour{0x00563412});
    Press(Qt::Key_Return);
    QCOMPARE(f.fakes.dialog.initialColours,
             (std::vector<QColor>{QColor(0, 0, 0xFF), QColor(0x12, 0x34, 0x56)}));
    QCOMPARE(Said(link, QAccessible::Description), "Opens the colour dialog; now #123456");
  }

  // A screen reader can tell every control from every other by its name,
  // its caption's words, never a field's name or the value it shows; the
  // tab strip is a list of page tabs, the current one selected.
  void everyControlNamed() {
    WindowFixture f;
    QMap<QString, QString> seen;  // name -> control
    for (QWidget* control : Focusable(f)) {
      const QString name = Said(control);
      QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->objectName()));
      static const QRegularExpression field("^(txt|chk|cmb|cmd|opt|lbl)[A-Z]");
      QVERIFY2(!name.contains(field) && !name.endsWith(':'), qPrintable(name));
      QVERIFY2(!seen.contains(name),
               qPrintable(name + ": " + seen.value(name) + " and " + control->objectName()));
      seen.insert(name, control->objectName());
    }
    QCOMPARE(seen.value("Site URL"), "txtSiteUrl");
    QCOMPARE(seen.value("Font"), "cmbFont");
    auto* strip = QAccessible::queryAccessibleInterface(f.find("tabStrip"));
    QCOMPARE(strip->role(), QAccessible::PageTabList);
    QCOMPARE(strip->childCount(), frmTessary::kTabs);
    f.window->lblToolbar_Click(3);
    QAccessibleInterface* tab = strip->child(3);
    QVERIFY(tab->role() == QAccessible::PageTab && tab->text(QAccessible::Name) == "Appearance");
    QVERIFY(tab->state().selected && !strip->child(0)->state().selected);
    QCOMPARE(QAccessible::queryAccessibleInterface(f.find("cmdColor(0)"))->role(),
             QAccessible::Button);
  }

  void legibleCaptions_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << Dark();
    QTest::newRow("high contrast") << HighContrast();
  }

  // Every caption outside the picture of the page, which shows the user's
  // own colours, reads on what it stands on, on every tab, whatever the
  // theme, and after the theme changes under a running window.
  void legibleCaptions() {
    QFETCH(QPalette, palette);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    WindowFixture f;
    QApplication::setPalette(before);
    QApplication::setPalette(palette);
    QStringList faint;
    for (int tab = 0; tab < frmTessary::kTabs; ++tab) {
      f.window->lblToolbar_Click(tab);
      for (QWidget* caption : f.window->findChildren<QWidget*>()) {
        const QString text = CaptionText(caption);
        const QString name = caption->objectName();
        if (text.trimmed().isEmpty() || !caption->isVisible() || !caption->isEnabled() ||
            name.startsWith("lblMap") || name == "lblFilterBox" || name == "lblDisclosure") {
          continue;
        }
        const double contrast = ContrastRatio(TextColour(caption), BackgroundOf(caption));
        if (contrast < 4.5) {
          faint << QString("%1 %2 on %3")
                       .arg(name, TextColour(caption).name(), BackgroundOf(caption).name());
        }
      }
    }
    QApplication::setPalette(before);
    faint.removeDuplicates();
    QCOMPARE(faint, QStringList());
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::AccessibilityTest)
#include "AccessibilityTest.moc"
