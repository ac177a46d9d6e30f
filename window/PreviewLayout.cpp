#include "PreviewLayout.h"

namespace tessary {
namespace {

constexpr int kEntryWidth = 1815;
constexpr int kEntryHeight = 255;
constexpr int kBulletSize = 90;
constexpr int kBulletDrop = 60;  // a bullet's top below its entry's
constexpr int kBulletGap = 240;  // from a bullet to its entry's text
constexpr int kIndent = 500;
constexpr int kBaseTops[3] = {1440, 1680, 1920};
constexpr int kTitleWidth = 1060;  // Style 2: the file name after the title
constexpr TwipsRect kBanner = {480, 360, 5655, 255};
constexpr TwipsRect kTitle = {240, 600, 6015, 375};
constexpr TwipsRect kModernBanner = {480, 240, 5655, 240};
constexpr TwipsRect kModernTitle = {240, 720, 6015, 360};
constexpr int kTriangleWidth = 240;
// How far the modern template's base folder heading moves what follows.
constexpr int kBaseHeadingDrop = 240;

// Style 2 shows the file name after the title, further right in the wider
// faces.
int LinkShift(const mapgen::MapSettings& settings) {
  if (mapgen::SelectedStyle(settings) != 2) return 0;
  if (settings.cmbFont == "Arial") return kTitleWidth + 85;
  if (settings.cmbFont == "Courier") return kTitleWidth + 540;
  return kTitleWidth;
}

}  // namespace

PreviewLayout LayOutPreview(const mapgen::MapSettings& settings) {
  PreviewLayout layout;
  const bool indent = settings.chkIndent == mapgen::kChecked;
  layout.modern = settings.cmbTemplate == "modern";
  layout.banner = layout.modern ? kModernBanner : kBanner;
  layout.title = layout.modern ? kModernTitle : kTitle;
  layout.bulletsShown = settings.chkBullets == mapgen::kChecked;
  layout.lineShown = settings.chkLines == mapgen::kChecked;

  const int drop = layout.modern ? kBaseHeadingDrop : 0;
  layout.baseHeading = {kPreviewTextLeft, kBaseTops[0], kEntryWidth,
                        kEntryHeight};
  layout.baseDisclosure = {kPreviewTextLeft - kTriangleWidth, kBaseTops[0],
                           kTriangleWidth, kEntryHeight};
  layout.line = kSeparatorLine;
  layout.line.top += drop;
  // Below a line the modern heading sits closer, so that the subfolder's
  // entries keep clear of the appendix.
  const int headingTop = layout.lineShown
                             ? layout.line.top + (layout.modern ? 60 : 90)
                             : kBaseTops[2] + drop + 360;
  layout.heading = {kPreviewTextLeft + (indent ? kIndent : 0), headingTop,
                    kEntryWidth, kEntryHeight};
  layout.disclosure = {layout.heading.left - kTriangleWidth, headingTop,
                       kTriangleWidth, kEntryHeight};
  const int tops[5] = {kBaseTops[0] + drop, kBaseTops[1] + drop,
                       kBaseTops[2] + drop, headingTop + 360, headingTop + 600};
  // Without bullets the text moves left into the bullets' place.
  const int bulletLeft =
      layout.bulletsShown ? kPreviewTextLeft : kPreviewTextLeft - kBulletGap;
  const int shift = LinkShift(settings);
  for (int k = 0; k < 5; ++k) {
    const int left = bulletLeft + (indent && k >= 3 ? kIndent : 0);
    const int textLeft = left + kBulletGap;
    layout.entries[k] = {
        {left, tops[k] + kBulletDrop, kBulletSize, kBulletSize},
        {textLeft, tops[k], kEntryWidth, kEntryHeight},
        {textLeft + shift, tops[k], kEntryWidth, kEntryHeight}};
  }
  return layout;
}

}  // namespace tessary
