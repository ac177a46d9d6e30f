#include "ColorSwatch.h"

#include "Colours.h"

namespace tessary {
namespace {
// Pixels of button left around the swatch, where the focus shows.
constexpr int kBorder = 4;
}  // namespace

ColorSwatch::ColorSwatch(QWidget* parent)
    : QPushButton(parent), swatch_(new QWidget(this)) {
  setAutoDefault(true);
  setCursor(Qt::PointingHandCursor);
  swatch_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// A screen reader tells the colour too, which the swatch only shows.
void ColorSwatch::setColour(mapgen::Colour colour) {
  SetBackColor(swatch_, colour);
  setAccessibleDescription(
      QStringLiteral("Opens the colour dialog; now %1")
          .arg(ToQColor(colour).name(QColor::HexRgb).toUpper()));
}

mapgen::Colour ColorSwatch::colour() const { return BackColor(swatch_); }

void ColorSwatch::resizeEvent(QResizeEvent* event) {
  swatch_->setGeometry(rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
  QPushButton::resizeEvent(event);
}

}  // namespace tessary
