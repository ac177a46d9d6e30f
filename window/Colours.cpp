#include "Colours.h"

#include <QWidget>

namespace tessary {

QColor ToQColor(mapgen::Colour colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

mapgen::Colour FromQColor(const QColor& color) {
  return static_cast<mapgen::Colour>(color.red()) |
         static_cast<mapgen::Colour>(color.green()) << 8 |
         static_cast<mapgen::Colour>(color.blue()) << 16;
}

void SetBackColor(QWidget* widget, mapgen::Colour colour) {
  QPalette palette = widget->palette();
  palette.setColor(widget->backgroundRole(), ToQColor(colour));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

mapgen::Colour BackColor(const QWidget* widget) {
  return FromQColor(widget->palette().color(widget->backgroundRole()));
}

void SetForeColor(QWidget* widget, mapgen::Colour colour) {
  QPalette palette = widget->palette();
  palette.setColor(widget->foregroundRole(), ToQColor(colour));
  widget->setPalette(palette);
}

mapgen::Colour ForeColor(const QWidget* widget) {
  return FromQColor(widget->palette().color(widget->foregroundRole()));
}

}  // namespace tessary
