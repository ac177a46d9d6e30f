#include "Twips.h"

#include <QWidget>

namespace tessary {

void PlaceTwips(QWidget* widget, TwipsRect rect) {
  widget->setGeometry(Twips(rect.left), Twips(rect.top), Twips(rect.width),
                      Twips(rect.height));
}

}  // namespace tessary
