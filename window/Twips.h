#pragma once

#include <QRect>

class QWidget;

namespace tessary {

// The windows are designed in twips, 15 to a pixel at 96 dots per inch;
// Qt scales those pixels up on high-density screens.
constexpr int Twips(int twips) { return (twips + 7) / 15; }

// A control's place in twips, relative to the widget that holds it.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

QRect ToPixels(TwipsRect rect);
void PlaceTwips(QWidget* widget, TwipsRect rect);

}  // namespace tessary
