#include "Colours.h"

#include <QWidget>

namespace tessary {

QColor ToQColor(mapgen::Colour colour) {
  const mapgen::Rgb rgb = mapgen::RgbOf(colour);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

mapgen::Colour FromQColor(const QColor& color) {
  return mapgen::ColourOf({static_cast<std::uint8_t>(color.red()),
                           static_cast<std::uint8_t>(color.green()),
                           static_cast<std::uint8_t>(color.blue())});
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
