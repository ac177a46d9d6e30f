// The picture of the page on the Map tab: where the list options, entry
// styles and fonts put its parts, what it shows, and its clicks.
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "Colours.h"
#include "Shape.h"
#include "WindowFixture.h"

namespace tessary {

class LayoutPreviewTest : public QObject {
  Q_OBJECT

 private:
  static QLabel* Map(const WindowFixture& f, int index) {
    return f.find<QLabel>(Indexed("lblMap", index));
  }

  static QCheckBox* Box(const WindowFixture& f, const char* name) {
    return f.find<QCheckBox>(name);
  }

  static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

  static void ClickPage(const WindowFixture& f, QPoint point) {
    QTest::mouseClick(f.find("fraOptions(4)"), Qt::LeftButton, {}, point);
  }

 private slots:
  void listLayout_data() {
    QTest::addColumn<bool>("bullets");
    QTest::addColumn<bool>("indent");
    QTest::addColumn<bool>("lines");
    QTest::addColumn<int>("upper");  // left of entries 1 to 3
    QTest::addColumn<int>("lower");  // left of entries 4 and 5
    QTest::addColumn<QPoint>("heading");
    QTest::newRow("bullets")
        << true << false << false << 720 << 720 << QPoint(480, 2280);
    QTest::newRow("bullets, indent, line")
        << true << true << true << 720 << 1220 << QPoint(980, 2400);
    QTest::newRow("nothing")
        << false << false << false << 480 << 480 << QPoint(480, 2280);
    QTest::newRow("indent, line")
        << false << true << true << 480 << 980 << QPoint(980, 2400);
  }

  void listLayout() {
    QFETCH(bool, bullets);
    QFETCH(bool, indent);
    QFETCH(bool, lines);
    QFETCH(int, upper);
    QFETCH(int, lower);
    QFETCH(QPoint, heading);
    WindowFixture f;
    Box(f, "chkBullets")->setChecked(bullets);
    Box(f, "chkIndent")->setChecked(indent);
    Box(f, "chkLines")->setChecked(lines);
    f.window->lblToolbar_Click(4);
    const int tops[5] = {1440, 1680, 1920, heading.y() + 360, heading.y() + 600};
    for (int k = 0; k < 5; ++k) {
      const int left = k < 3 ? upper : lower;
      QCOMPARE(Map(f, k + 11)->pos(), QPoint(Twips(left), Twips(tops[k])));
      auto* bullet = f.find(Indexed("shpBullet", k));
      QCOMPARE(bullet->pos(), QPoint(Twips(left - 240), Twips(tops[k] + 60)));
      QCOMPARE(bullet->isVisible(), bullets);
    }
    QCOMPARE(Map(f, 9)->pos(), QPoint(Twips(heading.x()), Twips(heading.y())));
    QCOMPARE(f.find("lineMap")->isVisible(), lines);
  }

  void styles_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("plain");  // empty: hidden
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("shift");      // of the link from the plain text
    const QString title = "Page 5 Title";
    const QString file = "page5file.html";
    QTest::newRow("Style 1") << 0 << "default" << "" << title << 0;
    QTest::newRow("Style 2") << 1 << "Times" << title << file << 1060;
    QTest::newRow("Style 2, Courier") << 1 << "Courier" << title << file << 1600;
    QTest::newRow("Style 2, Arial") << 1 << "Arial" << title << file << 1145;
    QTest::newRow("Style 2, courier") << 1 << "courier" << title << file << 1060;
    QTest::newRow("Style 3") << 2 << "Arial" << "" << file << 0;
    QTest::newRow("Style 4") << 3 << "default" << file << "" << 0;
  }

  void styles() {
    QFETCH(int, style);
    QFETCH(QString, font);
    QFETCH(QString, plain);
    QFETCH(QString, link);
    QFETCH(int, shift);
    WindowFixture f;
    f.find<QRadioButton>(Indexed("optStyle", style))->setChecked(true);
    f.find<QComboBox>("cmbFont")->setEditText(font);
    f.window->lblToolbar_Click(4);
    for (const auto& [label, caption] : {std::pair{Map(f, 7), plain},
                                         std::pair{Map(f, 15), link}}) {
      QCOMPARE(label->isVisible(), !caption.isEmpty());
      if (!caption.isEmpty()) QCOMPARE(label->text(), caption);
    }
    if (!link.isEmpty()) QCOMPARE(Map(f, 15)->x(), Twips(980 + shift));
    for (int i : {1, 7, 9, 15}) QCOMPARE(Map(f, i)->font().family(), font);
    QVERIFY(Map(f, 10)->font().family() != font);
  }

  void freeTextCaptions() {
    WindowFixture f;
    const QString opening = "Twenty-five characters, t";
    f.find<QPlainTextEdit>("txtPreface")->setPlainText("Hello");
    f.find<QPlainTextEdit>("txtAppendix")->setPlainText(opening + "hirty");
    f.window->lblToolbar_Click(4);
    QCOMPARE(Map(f, 2)->text(), "Hello ...");
    QCOMPARE(Map(f, 8)->text(), opening + " ...");
    f.find<QPlainTextEdit>("txtPreface")->clear();
    f.find<QPlainTextEdit>("txtAppendix")->clear();
    f.window->lblToolbar_Click(4);
    QCOMPARE(Map(f, 2)->text(), "[no preface]");
    QCOMPARE(Map(f, 8)->text(), "[no appendix]");
  }

  // Each click switches the banner; with no banner named yet it leads to
  // the field that names it.
  void bannerClicks() {
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    Click(Map(f, 0));
    QVERIFY(Box(f, "chkBannerImage")->isChecked());
    QVERIFY(f.find("fraOptions(1)")->isVisible());
    QCOMPARE(f.window->focusWidget(), f.find("txtBannerImage"));
    f.find<QLineEdit>("txtBannerImage")->setText("top.gif");
    Box(f, "chkBannerImage")->setChecked(false);
    f.window->lblToolbar_Click(4);
    Click(Map(f, 0));
    QCOMPARE(Map(f, 0)->text(), "top.gif");
    Click(Map(f, 0));
    QCOMPARE(Map(f, 0)->text(), "[no banner]");
    QVERIFY(!Box(f, "chkBannerImage")->isChecked());
  }

  // The picture's name and the picture switch the background picture; one
  // that cannot be loaded leaves the picture shown before.
  void backgroundClicks() {
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    Click(Map(f, 10));  // no picture named yet
    QVERIFY(f.find("fraOptions(3)")->isVisible());
    QCOMPARE(f.window->focusWidget(), f.find("txtImage"));
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(f.base.path() + "/back.png"));
    f.find<QLineEdit>("txtImage")->setText("back.png");
    f.window->lblToolbar_Click(4);
    auto* image = f.find<QLabel>("Image1");
    const qint64 loaded = image->pixmap().cacheKey();
    QVERIFY(image->isVisible() && !image->pixmap().isNull());
    f.find<QLineEdit>("txtImage")->setText("missing.png");
    f.window->lblToolbar_Click(4);
    QCOMPARE(Map(f, 10)->text(), "missing.png");
    QCOMPARE(image->pixmap().cacheKey(), loaded);

    Click(image);
    QVERIFY(!Box(f, "chkBgImage")->isChecked() && !image->isVisible());
    QCOMPARE(Map(f, 10)->text(), "[no background image]");
    Click(Map(f, 10));
    QVERIFY(image->isVisible());
  }

  // The bare page switches the background colour; where a bullet lies,
  // shown or hidden, the bullets.
  void pageClicks() {
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    ClickPage(f, QPoint(Twips(4500), Twips(1500)));
    QVERIFY(Box(f, "chkColor(0)")->isChecked());
    const mapgen::Colour chosen = f.window->settings().shpColor[0];
    QCOMPARE(f.find<Shape>("shpMap")->fillColour(), chosen);
    QCOMPARE(BackColor(Map(f, 12)), chosen);
    auto* bullet = f.find("shpBullet(4)");
    ClickPage(f, bullet->geometry().center());
    QVERIFY(Box(f, "chkBullets")->isChecked() && bullet->isVisible());
    ClickPage(f, bullet->geometry().center());
    QVERIFY(!Box(f, "chkBullets")->isChecked());
    QVERIFY(Box(f, "chkColor(0)")->isChecked());
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::LayoutPreviewTest)
#include "LayoutPreviewTest.moc"
