#pragma once

#include <QColor>

#include "MapSettings.h"

class QWidget;

namespace tessary {

// Colours are held 0x00BBGGRR, red in the lowest byte, as in the settings.
QColor ToQColor(mapgen::Colour colour);
mapgen::Colour FromQColor(const QColor& color);

inline constexpr mapgen::Colour kBlack = 0x00000000;
inline constexpr mapgen::Colour kWhite = 0x00FFFFFF;
inline constexpr mapgen::Colour kBlue = 0x00FF0000;
inline constexpr mapgen::Colour kDarkBlue = 0x00C00000;
inline constexpr mapgen::Colour kDarkRed = 0x000000C0;
inline constexpr mapgen::Colour kLightGrey = 0x00E0E0E0;

// A widget's own background, painted over whatever lies behind it.
void SetBackColor(QWidget* widget, mapgen::Colour colour);
mapgen::Colour BackColor(const QWidget* widget);

// The colour of a widget's text.
void SetForeColor(QWidget* widget, mapgen::Colour colour);
mapgen::Colour ForeColor(const QWidget* widget);

}  // namespace tessary
