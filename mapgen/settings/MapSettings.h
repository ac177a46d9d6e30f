#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "Colour.h"

namespace mapgen {

// The page templates that cmbTemplate names; empty means the classic one.
inline constexpr std::string_view kClassicTemplate = "classic";
inline constexpr std::string_view kModernTemplate = "modern";

// A check box's state: 0 unchecked, 1 checked, 2 greyed. The build counts
// only 1 as checked, except where a field says otherwise.
using CheckState = int;

inline constexpr CheckState kUnchecked = 0;
inline constexpr CheckState kChecked = 1;

inline bool IsChecked(CheckState state) { return state == kChecked; }

// Every option one build reads. Each field bears the name of the window
// control that holds it; the field table (MapField.h) gives each its
// initial value, the one the window shows at start.
struct MapSettings {
  MapSettings();

  // Content tab: folders, file types, title and banner.
  std::string txtDir;            // the base folder
  CheckState chkShowSubfolders;  // any value but 0 counts
  CheckState chkShowEmpties;
  // .html/.htm, .asp, .txt, .pdf, .jpg, "Other :"
  std::array<CheckState, 6> chkExtension;
  std::string txtExtensions;
  CheckState chkHTMext;  // any value but 0 counts
  std::array<bool, 4> optStyle;
  std::string txtTitle;
  CheckState chkBannerImage;
  std::string txtBannerImage;
  std::string cmbBannerAlign;
  // Quote and percent-encode links; show names and titles as text.
  CheckState chkSafeLinks;

  // Appearance tab: list layout, fonts, colours and background.
  CheckState chkBullets;
  CheckState chkIndent;
  CheckState chkLines;
  std::string cmbFont;
  std::string cmbTitleAlign;
  // Page text (read by no build step), map title, subfolder headings.
  std::array<std::string, 3> cmbSize;
  // Background, text, link, visited link, map title, subfolder titles.
  std::array<CheckState, 6> chkColor;
  std::array<Colour, 6> shpColor;
  CheckState chkBgImage;
  std::string txtImage;

  // Text tab.
  std::string txtPreface;
  std::string txtAppendix;

  // Publish tab: beyond the classic page, and all off by default, when
  // the page is the classic one.
  std::string txtExclude;       // globs of names left out, one a line
  CheckState chkLastExtension;  // the extension follows the last dot
  CheckState chkUtf8;           // declare UTF-8, convert titles to it
  std::string txtLinkPrefix;    // put before every file link
  std::string cmbTemplate;      // "classic" (or empty) or "modern"
  std::string txtLang;          // the modern page's language; empty: en
  CheckState chkCollapsed;      // the modern page opens with one folder open
  CheckState chkFollowOutside;  // read what links outside the base lead to
  std::string txtSitemapXml;    // also write an XML sitemap here
  std::string txtSiteUrl;       // where the XML sitemap's addresses start
  std::string cmbLastmod;       // "file" (or empty) or "git": URLs' dates
  std::string txtRobotsTxt;     // a robots.txt to name the sitemap in

  bool operator==(const MapSettings&) const = default;
};

// Whether cmbTemplate chooses the modern template.
bool IsModern(const MapSettings& settings);

// The entry style that optStyle selects, 1 to 4. Style 3 is the fallback
// when no button of the group is set.
int SelectedStyle(const MapSettings& settings);

// Whether the entry style shows the titles of web pages, which then must be
// read.
bool ShowsTitles(const MapSettings& settings);

// Selects the entry style button `index` and clears the others, as a group
// of option buttons does.
void SelectStyle(MapSettings& settings, std::size_t index);

}  // namespace mapgen
