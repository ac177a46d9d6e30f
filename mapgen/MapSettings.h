#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace mapgen {

// A check box's state: 0 unchecked, 1 checked, 2 greyed. The build counts
// only 1 as checked, except where a field says otherwise.
using CheckState = int;

// A colour laid out 0x00BBGGRR: red in the lowest byte, blue in the third.
using Colour = std::uint32_t;

inline constexpr CheckState kUnchecked = 0;
inline constexpr CheckState kChecked = 1;

inline bool IsChecked(CheckState state) { return state == kChecked; }

// Every option one build reads. Each field bears the name of the window
// control that holds it; the initial values are what the window shows at
// start.
struct MapSettings {
  // Content tab: folders, file types, title and banner.
  std::string txtDir;                  // the base folder
  CheckState chkShowSubfolders = kChecked;  // any value but 0 counts
  CheckState chkShowEmpties = kChecked;
  // .html/.htm, .asp, .txt, .pdf, .jpg, "Other :"
  std::array<CheckState, 6> chkExtension = {kChecked, kUnchecked, kChecked,
                                            kChecked, kUnchecked, kUnchecked};
  std::string txtExtensions = "zip";
  CheckState chkHTMext = kUnchecked;   // any value but 0 counts
  std::array<bool, 4> optStyle = {true, false, false, false};
  std::string txtTitle = "Site Map";
  CheckState chkBannerImage = kUnchecked;
  std::string txtBannerImage = "[none]";
  std::string cmbBannerAlign = "center";
  // Quote and percent-encode links; show names and titles as text.
  CheckState chkSafeLinks = kUnchecked;

  // Appearance tab: list layout, fonts, colours and background.
  CheckState chkBullets = kUnchecked;
  CheckState chkIndent = kChecked;
  CheckState chkLines = kUnchecked;
  std::string cmbFont = "default";
  std::string cmbTitleAlign = "Center";
  // Page text (read by no build step), map title, subfolder headings.
  std::array<std::string, 3> cmbSize = {"normal", "+2", "+1"};
  // Background, text, link, visited link, map title, subfolder titles.
  std::array<CheckState, 6> chkColor = {};
  std::array<Colour, 6> shpColor = {0x00D0FDFF, 0x00000000, 0x00FF0000,
                                    0x00C000C0, 0x00000000, 0x00000000};
  CheckState chkBgImage = kUnchecked;
  std::string txtImage = "[none]";

  // Text tab.
  std::string txtPreface;
  std::string txtAppendix;

  bool operator==(const MapSettings&) const = default;
};

// The entry style that optStyle selects, 1 to 4. Style 3 is the fallback
// when no button of the group is set.
int SelectedStyle(const MapSettings& settings);

}  // namespace mapgen
