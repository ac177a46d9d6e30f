#pragma once

#include <QString>
#include <array>

#include "MapSettings.h"
#include "Twips.h"

namespace tessary {

// The places of one sample entry in the picture of the page: its bullet,
// its plain-text label and its link label.
struct EntryPlaces {
  TwipsRect bullet;
  TwipsRect plain;
  TwipsRect link;
};

// Where the list options put the sample entries, the subfolder heading and
// the separator line, in twips within the Map tab. Entries 1 to 3 stand in
// the base folder, 4 and 5 under the subfolder heading.
// The modern template adds a filter box above the title, for which the
// banner line and the title move up; it nests the folders, so the base
// folder has a heading of its own above its entries, which move down, and
// each heading has a disclosure triangle before it (and its count after
// it, placed by the text's width).
struct PreviewLayout {
  std::array<EntryPlaces, 5> entries;
  TwipsRect heading;
  bool bulletsShown = false;
  bool lineShown = false;
  TwipsRect line;
  TwipsRect banner;
  TwipsRect title;
  bool modern = false;
  TwipsRect disclosure;
  TwipsRect baseHeading;
  TwipsRect baseDisclosure;
};

PreviewLayout LayOutPreview(const mapgen::MapSettings& settings);

// The designed places of the parts that the options do not move.
inline constexpr int kPreviewTextLeft = 480;  // the preface's left
inline constexpr TwipsRect kSeparatorLine = {240, 2310, 6000, 15};
inline constexpr TwipsRect kFilterBox = {480, 495, 2400, 210};

// What the banner line and the picture's name show when there is none.
inline const QString kNoBanner = QStringLiteral("[no banner]");
inline const QString kNoBackground = QStringLiteral("[no background image]");

}  // namespace tessary
