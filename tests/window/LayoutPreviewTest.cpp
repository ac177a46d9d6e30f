// The picture of the page on the Map tab: where the entry styles and fonts
// put its parts, what it shows, and its clicks.
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "Shape.h"
#include "WindowFixture.h"

namespace tessary {

class LayoutPreviewTest : public QObject {
  Q_OBJECT

 private:
  static QLabel* Map(const WindowFixture& f, int index) {
    return f.find<QLabel>(Indexed("lblMap", index));
  }

  static void Click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

 private slots:

  // The dotted edge of the page shows on all four sides at the screen's
  // scale, also where the page's place falls between two pixels (ctest
  // runs this at 1.25, 1.5 and 1.75).
  void frameWholeAtScale() {
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    QWidget* map = f.find("shpMap");
    const QRect page(map->mapTo(f.window.get(), QPoint(0, 0)), map->size());
    const QImage image = f.window->grab().toImage();
    const double scale = image.devicePixelRatio();
    // Along the edge at logical row or column `at`, the device pixels
    // where the one logical pixel of that row or column shows a grey dot.
    auto dotted = [&](int at, bool row) {
      const int first = std::floor(at * scale);
      const int last = std::ceil((at + 1) * scale) - 1;
      const QRect span = QRectF(QPointF(page.topLeft()) * scale, QSizeF(page.size()) * scale)
                             .toRect()
                             .adjusted(4, 4, -4, -4);
      int dots = 0;
      for (int along = row ? span.left() : span.top();
           along <= (row ? span.right() : span.bottom()); ++along) {
        bool dot = false;
        for (int across = first; across <= last; ++across) {
          dot =
              dot || qGray(image.pixel(row ? QPoint(along, across) : QPoint(across, along))) < 0xE0;
        }
        dots += dot;
      }
      return dots;
    };
    QVERIFY(dotted(page.top(), true) > page.width() / 4);
    QVERIFY(dotted(page.bottom(), true) > page.width() / 4);
    QVERIFY(dotted(page.left(), false) > page.height() / 4);
    QVERIFY(dotted(page.right(), false) > page.height() / 4);
  }

  void styles_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("plain");  // the fifth entry's; empty: hidden
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("shift");  // of the link from the plain text
    const QString title = "Page 5 Title";
    const QString file = "page5file.html";
    QTest::newRow("Style 1") << 0 << "default"
                             << "" << title << 0;
    QTest::newRow("Style 2, Courier") << 1 << "Courier" << title << file << 1600;
    QTest::newRow("Style 2, courier") << 1 << "courier" << title << file << 1060;
    QTest::newRow("Style 3") << 2 << "Arial"
                             << "" << file << 0;
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
    auto shown = [](QLabel* label) { return label->isVisible() ? label->text() : QString(); };
    QCOMPARE(shown(Map(f, 7)), plain);
    QCOMPARE(shown(Map(f, 15)), link);
    // The file name keeps its distance from the title, or moves further
    // where the title is wider; it never covers the title's end.
    if (!link.isEmpty()) QVERIFY(Map(f, 15)->x() >= Twips(980 + shift));
    if (!link.isEmpty() && !plain.isEmpty()) {
      for (int k = 3; k <= 7; ++k) {
        QLabel* title = Map(f, k);
        const int width = title->fontMetrics().horizontalAdvance(title->text());
        QVERIFY(title->x() + width < Map(f, k + 8)->x());
      }
    }
    // "default" names no face: the browser's own serif is shown.
    const QFont asked = font == "default" ? QFont("serif") : QFont(font);
    for (int i : {1, 7, 9, 15}) {
      QCOMPARE(QFontInfo(Map(f, i)->font()).family(), QFontInfo(asked).family());
    }
    QVERIFY(Map(f, 10)->font().family() != font);
  }

  // The first 25 characters, whole code points, on one line.
  void freeTextCaptions() {
    WindowFixture f;
    const QString opening = "Twenty-four characters, \U0001F600";
    f.find<QPlainTextEdit>("txtPreface")->setPlainText(opening + "thirty");
    f.window->lblToolbar_Click(4);
    QCOMPARE(Map(f, 2)->text(), opening + " ...");
    QCOMPARE(Map(f, 8)->text(), "[no appendix]");
    f.find<QPlainTextEdit>("txtPreface")->clear();
    f.find<QPlainTextEdit>("txtAppendix")->setPlainText("Hello\nworld");
    f.window->lblToolbar_Click(4);
    QCOMPARE(Map(f, 2)->text(), "[no preface]");
    QCOMPARE(Map(f, 8)->text(), "Hello world ...");
  }

  // The modern template's filter box stands between the banner line and
  // the title; the folders nest: the base folder has its heading above
  // its entries, each heading a triangle before it and its count after
  // it, and the subfolder's entries stay clear of the appendix. A click on
  // any of these parts leads to the template's choice.
  void modernTemplate() {
    WindowFixture f;
    auto* filter = f.find<QLabel>("lblFilterBox");
    auto* triangle = f.find<QLabel>("lblDisclosure");
    auto* base = f.find<QLabel>("lblBaseFolder");
    const std::pair<QLabel*, QLabel*> headings[] = {{base, f.find<QLabel>("lblBaseCount")},
                                                    {Map(f, 9), f.find<QLabel>("lblFolderCount")}};
    for (bool indent : {false, true}) {
      for (bool lines : {false, true}) {
        f.find<QComboBox>("cmbTemplate")->setCurrentText("modern");
        f.find<QCheckBox>("chkIndent")->setChecked(indent);
        f.find<QCheckBox>("chkLines")->setChecked(lines);
        f.window->lblToolbar_Click(4);
        QVERIFY(filter->isVisible() && triangle->isVisible() && base->isVisible());
        QVERIFY(Map(f, 0)->geometry().bottom() < filter->y());
        QVERIFY(filter->geometry().bottom() < Map(f, 1)->y());
        QVERIFY(Map(f, 1)->geometry().bottom() < Map(f, 2)->y());
        QVERIFY(Map(f, 2)->geometry().bottom() < base->y());
        QVERIFY(Map(f, 3)->y() >= base->y() + Twips(240));  // a line apart, as entries are
        QCOMPARE(triangle->geometry().right() + 1, Map(f, 9)->x());
        QCOMPARE(triangle->y(), Map(f, 9)->y());
        QVERIFY(base->x() <= Map(f, 3)->x());
        QVERIFY(Map(f, 7)->geometry().bottom() < Map(f, 8)->y());
        for (const auto& [heading, count] : headings) {
          const int textEnd =
              heading->x() + heading->fontMetrics().horizontalAdvance(heading->text());
          QVERIFY(count->isVisible() && count->x() > textEnd);
          QCOMPARE(count->y(), heading->y());
        }
      }
    }
    QCOMPARE(headings[0].second->text(), "3 files \u00B7 5 in all");
    QCOMPARE(headings[1].second->text(), "2 files");
    Click(headings[1].second);
    QCOMPARE(f.window->focusWidget(), f.find("cmbTemplate"));
    f.find<QComboBox>("cmbTemplate")->setCurrentText("classic");
    f.window->lblToolbar_Click(4);
    QVERIFY(!filter->isVisible() && !triangle->isVisible() && !base->isVisible());
    QVERIFY(!headings[0].second->isVisible() && !headings[1].second->isVisible());
    QCOMPARE(Map(f, 1)->geometry(), ToPixels({240, 600, 6015, 375}));
    QCOMPARE(Map(f, 3)->y(), Twips(1440));
  }

  // The picture's name and the picture switch the background picture; one
  // that cannot be loaded leaves the picture shown before. Pictures are
  // read in the background; the last one named is the one shown.
  void backgroundClicks() {
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    Click(Map(f, 10));  // no picture named yet
    QCOMPARE(f.window->focusWidget(), f.find("txtImage"));
    QVERIFY(f.find("txtImage")->isVisible());  // its tab in front
    for (auto [name, colour] : {std::pair{"red.png", Qt::red}, std::pair{"blue.png", Qt::blue}}) {
      QImage picture(8, 8, QImage::Format_RGB32);
      picture.fill(colour);
      QVERIFY(picture.save(f.base.path() + "/" + name));
      f.find<QLineEdit>("txtImage")->setText(name);
      f.window->lblToolbar_Click(4);
    }
    QVERIFY(f.idle());
    auto* image = f.find<QLabel>("Image1");
    QVERIFY(image->isVisible());
    QCOMPARE(image->pixmap().toImage().pixelColor(0, 0), QColor(Qt::blue));
    const qint64 loaded = image->pixmap().cacheKey();
    f.find<QLineEdit>("txtImage")->setText("missing.png");
    f.window->lblToolbar_Click(4);
    QVERIFY(f.idle());
    QCOMPARE(Map(f, 10)->text(), "missing.png");
    QCOMPARE(image->pixmap().cacheKey(), loaded);

    Click(image);
    QVERIFY(!f.find<QCheckBox>("chkBgImage")->isChecked() && !image->isVisible());
    QCOMPARE(Map(f, 10)->text(), "[no background image]");
    Click(Map(f, 10));
    QVERIFY(image->isVisible());
  }

  // Each click on the banner line switches the banner; with no banner
  // named yet it leads to the field that names it. The bare page switches
  // the background colour; where a bullet lies, shown or hidden, the
  // bullets.
  void bannerAndPageClicks() {
    WindowFixture f;
    f.window->lblToolbar_Click(4);
    Click(Map(f, 0));
    QVERIFY(f.find<QCheckBox>("chkBannerImage")->isChecked());
    QCOMPARE(f.window->focusWidget(), f.find("txtBannerImage"));
    QVERIFY(f.find("txtBannerImage")->isVisible());  // its tab in front
    f.find<QLineEdit>("txtBannerImage")->setText("top.gif");
    f.find<QCheckBox>("chkBannerImage")->setChecked(false);
    f.window->lblToolbar_Click(4);
    Click(Map(f, 0));
    QCOMPARE(Map(f, 0)->text(), "top.gif");
    Click(Map(f, 0));
    QCOMPARE(Map(f, 0)->text(), "[no banner]");
    QVERIFY(!f.find<QCheckBox>("chkBannerImage")->isChecked());

    auto clickPage = [&f](QPoint point) {
      QTest::mouseClick(f.find("fraOptions(4)"), Qt::LeftButton, {}, point);
    };
    clickPage(QPoint(Twips(4500), Twips(1500)));
    QVERIFY(f.find<QCheckBox>("chkColor(0)")->isChecked());
    QCOMPARE(f.find<Shape>("shpMap")->fillColour(), f.window->settings().shpColor[0]);
    auto* bullet = f.find("shpBullet(4)");
    clickPage(bullet->geometry().center());
    QVERIFY(f.find<QCheckBox>("chkBullets")->isChecked() && bullet->isVisible());
    clickPage(bullet->geometry().center());
    QVERIFY(!f.find<QCheckBox>("chkBullets")->isChecked());
    QVERIFY(f.find<QCheckBox>("chkColor(0)")->isChecked());
  }
};

}  // namespace tessary

QTEST_MAIN(tessary::LayoutPreviewTest)
#include "LayoutPreviewTest.moc"
