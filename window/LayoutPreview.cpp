// The picture of the page on the Map tab: a banner line, the title, the
// start of the preface, five sample entries of two folders, the start of
// the appendix and the name of the background picture, drawn from the
// options on every tab switch.
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMap>
#include <algorithm>

#include "BackgroundWork.h"
#include "FolderViews.h"
#include "Paths.h"
#include "PreviewLayout.h"
#include "Shape.h"
#include "frmTessary.h"

namespace tessary {
namespace {

constexpr mapgen::Colour kPageBorder = 0x00C0C0C0;
constexpr mapgen::Colour kFilterHint = 0x00808080;
constexpr mapgen::Colour kQuietText = 0x00595959;  // the page's counts
constexpr int kTitleGap = 60;  // at least, between a title and its file name
// A background picture larger than this is not loaded: the preview only
// hints at it, and reading it would hold up the window.
constexpr qint64 kMaxPictureBytes = 64 << 20;

struct LabelDesign {
  const char* caption;
  TwipsRect place;
  double points;  // 0: the window's own font
  bool bold;
};
// lblMap(0) to lblMap(15); the entries' lefts and the subfolder block's
// tops follow the options.
const LabelDesign kLabels[16] = {
    {"(no banner)", {480, 360, 5655, 255}, 0, false},
    {"Site Map", {240, 600, 6015, 375}, 15.75, true},
    {"(no preface)", {480, 1080, 5775, 255}, 9.75, false},
    {"", {720, 1440, 1815, 255}, 9.75, false},
    {"", {720, 1680, 1815, 255}, 9.75, false},
    {"", {720, 1920, 1815, 255}, 9.75, false},
    {"", {720, 2640, 1815, 255}, 9.75, false},
    {"", {720, 2880, 1815, 255}, 9.75, false},
    {"[no appendix]", {480, 3480, 5775, 255}, 9.75, false},
    {"Subfolder", {480, 2280, 1815, 255}, 11.25, true},
    {"(no background)", {2520, 3690, 3735, 210}, 0, false},
    {"", {720, 1440, 1815, 255}, 9.75, false},
    {"", {720, 1680, 1815, 255}, 9.75, false},
    {"", {720, 1920, 1815, 255}, 9.75, false},
    {"", {720, 2640, 1815, 255}, 9.75, false},
    {"", {720, 2880, 1815, 255}, 9.75, false}};

bool IsLink(int index) { return index >= 11; }

// The first 25 characters and an ellipsis, or `none` for an empty text.
// Characters are whole code points; line breaks show as blanks, so that
// the ellipsis stays on the one line there is room for.
QString Opening(const std::string& text, const QString& none) {
  if (text.empty()) return none;
  const std::u32string characters =
      QString::fromStdString(text).toStdU32String().substr(0, 25);
  QString opening = QString::fromStdU32String(characters);
  opening.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
  return opening + " ...";
}

// "left", "center" or "right" in any case; another word leaves the
// alignment as it was.
void Align(QLabel* label, const std::string& word) {
  static const QMap<QString, Qt::Alignment> kWords = {
      {"LEFT", Qt::AlignLeft},
      {"CENTER", Qt::AlignHCenter},
      {"RIGHT", Qt::AlignRight}};
  const auto horizontal =
      kWords.constFind(QString::fromStdString(word).toUpper());
  if (horizontal == kWords.cend()) return;
  label->setAlignment(*horizontal |
                      (label->alignment() & Qt::AlignVertical_Mask));
}

QString EntryCaption(bool fileName, int number) {
  return fileName ? QStringLiteral("page%1file.html").arg(number)
                  : QStringLiteral("Page %1 Title").arg(number);
}

mapgen::Colour OptionColour(const mapgen::MapSettings& settings, int index,
                            mapgen::Colour otherwise) {
  return settings.chkColor[index] == mapgen::kChecked ? settings.shpColor[index]
                                                      : otherwise;
}

// Only regular files of a modest size are read, so that a pipe or a huge
// file named as background cannot hold up the reading. Null when the
// picture cannot be read.
QImage ReadPicture(const mapgen::FileSystem& fs, const std::string& path,
                   QSize size) {
  const auto file = fs.OpenFile(path);
  if (!file) return {};
  QByteArray bytes;
  char chunk[1 << 16];
  while (true) {
    const auto read = (*file)->Read(chunk, sizeof chunk);
    if (!read) return {};
    if (*read == 0) break;
    if (bytes.size() + static_cast<qsizetype>(*read) > kMaxPictureBytes) {
      return {};
    }
    bytes.append(chunk, static_cast<qsizetype>(*read));
  }
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  reader.setScaledSize(size);
  return reader.read();
}

}  // namespace

void frmTessary::InitLayoutPreview(QWidget* tab) {
  shpMap = new Shape(tab, Shape::Kind::kRectangle, kWhite, kPageBorder);
  shpMap->setObjectName("shpMap");
  PlaceTwips(shpMap, {105, 225, 6255, 3735});
  Image1 = MakeLabel(tab, "Image1", {}, {120, 240, 6210, 3700});
  Image1->setScaledContents(true);
  Image1->hide();
  connect(Image1, &ClickLabel::clicked, this, &frmTessary::Image1_Click);
  connect(picture_, &QFutureWatcherBase::finished, this,
          &frmTessary::BackgroundLoaded);
  lineMap =
      MakeShape(tab, "lineMap", FromQColor(palette().color(QPalette::Button)),
                kSeparatorLine);
  lineMap->setAttribute(Qt::WA_TransparentForMouseEvents);
  lineMap->hide();
  for (int i = 0; i < 16; ++i) {
    const LabelDesign& design = kLabels[i];
    lblMap[i] =
        MakeLabel(tab, Indexed("lblMap", i), design.caption, design.place);
    lblMap[i]->setWordWrap(false);
    if (design.points > 0) {
      QFont font = NamedFont("Times New Roman", design.points, design.bold);
      font.setUnderline(IsLink(i));
      lblMap[i]->setFont(font);
    }
    if (IsLink(i)) SetForeColor(lblMap[i], kBlue);
    connect(lblMap[i], &ClickLabel::clicked, this,
            [this, i] { lblMap_Click(i); });
  }
  lblMap[1]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  lblMap[10]->setAlignment(Qt::AlignRight | Qt::AlignTop);
  for (int k = 0; k < 5; ++k) {
    shpBullet[k] = new Shape(tab, Shape::Kind::kCircle, kBlack);
    shpBullet[k]->setObjectName(Indexed("shpBullet", k));
  }
  InitTemplateParts(tab);
}

// The parts only the modern template has lead to the template's choice:
// the filter box, the base folder's heading, the triangles and counts.
void frmTessary::InitTemplateParts(QWidget* tab) {
  ClickLabel* filter = MakeLabel(tab, "lblFilterBox", "Filter", kFilterBox);
  filter->setFrameStyle(QFrame::Box | QFrame::Plain);
  filter->setIndent(Twips(60));
  filter->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  filter->setFont(NamedFont(kFormFont, 6.75));
  SetBackColor(filter, kWhite);
  SetForeColor(filter, kFilterHint);
  ClickLabel* triangle = MakeLabel(tab, "lblDisclosure", "\u25BC", {});
  ClickLabel* baseTriangle = MakeLabel(tab, "lblBaseDisclosure", "\u25BC", {});
  ClickLabel* base = MakeLabel(tab, "lblBaseFolder", "Folder", {});
  base->setFont(NamedFont("Times New Roman", 11.25, true));
  // Three files of its own and the subfolder's two.
  ClickLabel* baseCount =
      MakeLabel(tab, "lblBaseCount", "3 files \u00B7 5 in all", {});
  ClickLabel* folderCount = MakeLabel(tab, "lblFolderCount", "2 files", {});
  for (ClickLabel* part :
       {filter, triangle, baseTriangle, base, baseCount, folderCount}) {
    part->setWordWrap(false);
    part->hide();
    connect(part, &ClickLabel::clicked, this,
            [this] { ShowControl(5, cmbTemplate); });
  }
  lblFilterBox = filter;
  lblDisclosure = triangle;
  lblBaseDisclosure = baseTriangle;
  lblBaseFolder = base;
  lblBaseCount = baseCount;
  lblFolderCount = folderCount;
}

// Each step reads the options as they stand; the entries' places come from
// the list options, their captions from the entry style.
void frmTessary::RefreshPreview() {
  TakeTypedText();
  RefreshBanner();
  lblMap[1]->setText(QString::fromStdString(settings_.txtTitle));
  Align(lblMap[1], settings_.cmbTitleAlign);
  lblMap[2]->setText(Opening(settings_.txtPreface, "[no preface]"));
  lblMap[8]->setText(Opening(settings_.txtAppendix, "[no appendix]"));
  PlaceEntries(mapgen::SelectedStyle(settings_));
  ShowTemplate();
  ColourPreview();
  SetPreviewFont();
  KeepTitlesWhole();
  PlaceCounts();
  RefreshBackground();
}

void frmTessary::RefreshBanner() {
  const QString name = QString::fromStdString(settings_.txtBannerImage);
  const bool shown = settings_.chkBannerImage != mapgen::kUnchecked;
  lblMap[0]->setText(shown && !name.isEmpty() ? name : kNoBanner);
  Align(lblMap[0], settings_.cmbBannerAlign);
}

// Style 1 links the title, 2 shows the title and links the file name,
// 3 links the file name, 4 shows the file name without a link.
void frmTessary::PlaceEntries(int style) {
  const PreviewLayout layout = LayOutPreview(settings_);
  for (int k = 0; k < 5; ++k) {
    const EntryPlaces& places = layout.entries[k];
    QLabel* plain = lblMap[k + 3];
    QLabel* link = lblMap[k + 11];
    PlaceTwips(shpBullet[k], places.bullet);
    shpBullet[k]->setVisible(layout.bulletsShown);
    PlaceTwips(plain, places.plain);
    PlaceTwips(link, places.link);
    if (style != 3) plain->setText(EntryCaption(style == 4, k + 1));
    if (style != 4) link->setText(EntryCaption(style != 1, k + 1));
    plain->setVisible(style == 2 || style == 4);
    link->setVisible(style != 4);
  }
  PlaceTwips(lblMap[9], layout.heading);
  PlaceTwips(lineMap, layout.line);
  lineMap->setVisible(layout.lineShown);
}

void frmTessary::ShowTemplate() {
  const PreviewLayout layout = LayOutPreview(settings_);
  PlaceTwips(lblMap[0], layout.banner);
  PlaceTwips(lblMap[1], layout.title);
  PlaceTwips(lblDisclosure, layout.disclosure);
  PlaceTwips(lblBaseDisclosure, layout.baseDisclosure);
  PlaceTwips(lblBaseFolder, layout.baseHeading);
  for (QLabel* part : {lblFilterBox, lblDisclosure, lblBaseDisclosure,
                       lblBaseFolder, lblBaseCount, lblFolderCount}) {
    part->setVisible(layout.modern);
  }
}

// Each count follows its heading's text, in the heading's face but not
// bold, as the page's counts do.
void frmTessary::PlaceCounts() {
  const std::pair<QLabel*, QLabel*> counts[] = {{lblBaseFolder, lblBaseCount},
                                                {lblMap[9], lblFolderCount}};
  for (const auto& [heading, count] : counts) {
    QFont font = heading->font();
    font.setBold(false);
    count->setFont(font);
    SetForeColor(count, ForeColor(heading));
    SetBackColor(count, BackColor(heading));
    count->adjustSize();
    const QFontMetrics metrics(heading->font());
    count->move(heading->x() + heading->contentsMargins().left() +
                    metrics.horizontalAdvance(heading->text() + ' '),
                heading->y());
  }
}

// The link labels keep their blue: the preview shows where links are, not
// their colours.
void frmTessary::ColourPreview() {
  const mapgen::Colour page = OptionColour(settings_, 0, kWhite);
  shpMap->setFillColour(page);
  for (ClickLabel* label : lblMap) SetBackColor(label, page);
  const mapgen::Colour text = OptionColour(settings_, 1, kBlack);
  for (int i = 2; i <= 8; ++i) SetForeColor(lblMap[i], text);
  SetForeColor(lblMap[1], OptionColour(settings_, 4, kBlack));
  SetForeColor(lblMap[9], OptionColour(settings_, 5, kBlack));
  for (QLabel* folder : {lblDisclosure, lblBaseDisclosure, lblBaseFolder}) {
    SetForeColor(folder, ForeColor(lblMap[9]));
    SetBackColor(folder, page);
  }
}

// The banner line and the picture's name keep the window's font; a face
// that is not installed is left to the font configuration's substitute.
// The page names no face for "default", so a browser shows its own
// default, a serif face.
void frmTessary::SetPreviewFont() {
  const QString face = QString::fromStdString(settings_.cmbFont);
  const bool browsersOwn = face == "default";
  const auto setFace = [&](QLabel* label) {
    QFont font = label->font();
    font.setFamily(browsersOwn ? QStringLiteral("serif") : face);
    font.setStyleHint(browsersOwn ? QFont::Serif : QFont::AnyStyle);
    label->setFont(font);
  };
  for (int i = 1; i < 16; ++i) {
    if (i != 10) setFace(lblMap[i]);
  }
  setFace(lblBaseFolder);
}

// Style 2 puts each file name after its title; where the font's title is
// wider than the room left for it, the file name moves on rather than
// cover the title's end.
void frmTessary::KeepTitlesWhole() {
  if (mapgen::SelectedStyle(settings_) != 2) return;
  for (int k = 0; k < 5; ++k) {
    const QLabel* title = lblMap[k + 3];
    QLabel* link = lblMap[k + 11];
    const int titleEnd = title->x() + title->contentsMargins().left() +
                         title->fontMetrics().horizontalAdvance(title->text()) +
                         Twips(kTitleGap);
    if (link->x() < titleEnd) link->move(titleEnd, link->y());
  }
}

// A picture that cannot be loaded leaves the one shown before; its name is
// shown all the same, at once, and the picture when it has been read.
void frmTessary::RefreshBackground() {
  if (settings_.chkBgImage != mapgen::kChecked) {
    lblMap[10]->setText(kNoBackground);
    Image1->hide();
    return;
  }
  const std::string& name = settings_.txtImage;
  if (name.empty()) {
    wantedPicture_.clear();
    Image1->clear();
  } else {
    LoadBackground(
        name.starts_with('/') ? name : mapgen::JoinPath(Dir1->path(), name));
  }
  lblMap[10]->setText(QString::fromStdString(name));
  Image1->show();
}

// One picture is read at a time; the one wanted by then follows.
void frmTessary::LoadBackground(const std::string& path) {
  wantedPicture_ = path;
  if (picture_->isRunning()) return;
  loadingPicture_ = path;
  work_->Compute(picture_, [&fs = fs_, path, size = Image1->size()] {
    return ReadPicture(fs, path, size);
  });
}

void frmTessary::BackgroundLoaded() {
  const QImage picture = picture_->result();
  if (loadingPicture_ != wantedPicture_) {
    if (!wantedPicture_.empty()) LoadBackground(wantedPicture_);
    return;
  }
  if (!picture.isNull()) Image1->setPixmap(QPixmap::fromImage(picture));
}

}  // namespace tessary
