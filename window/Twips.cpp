#include "Twips.h"

#include <QWidget>

namespace tessary {

QRect ToPixels(TwipsRect rect) {
  return {Twips(rect.left), Twips(rect.top), Twips(rect.width),
          Twips(rect.height)};
}

void PlaceTwips(QWidget* widget, TwipsRect rect) {
  widget->setGeometry(ToPixels(rect));
}

}  // namespace tessary
