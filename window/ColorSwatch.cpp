#include "ColorSwatch.h"

#include <QMouseEvent>

#include "Colours.h"

namespace tessary {
namespace {
constexpr int kBorder = 3;  // pixels of frame left around the swatch
}

ColorSwatch::ColorSwatch(QWidget* parent)
    : QFrame(parent), swatch_(new QWidget(this)) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setCursor(Qt::PointingHandCursor);
  swatch_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ColorSwatch::setColour(mapgen::Colour colour) {
  SetBackColor(swatch_, colour);
}

mapgen::Colour ColorSwatch::colour() const { return BackColor(swatch_); }

// Taking the press makes the release come here too.
void ColorSwatch::mousePressEvent(QMouseEvent* event) { event->accept(); }

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->pos())) {
    emit clicked();
  }
  QFrame::mouseReleaseEvent(event);
}

void ColorSwatch::resizeEvent(QResizeEvent* event) {
  swatch_->setGeometry(rect().adjusted(kBorder, kBorder, -kBorder, -kBorder));
  QFrame::resizeEvent(event);
}

}  // namespace tessary
