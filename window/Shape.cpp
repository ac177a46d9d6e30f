#include "Shape.h"

#include <QPainter>

#include "Colours.h"

namespace tessary {

Shape::Shape(QWidget* parent, Kind kind, mapgen::Colour fill,
             std::optional<mapgen::Colour> dottedBorder)
    : QWidget(parent), kind_(kind), fill_(fill), border_(dottedBorder) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setFillColour(mapgen::Colour fill) {
  fill_ = fill;
  update();
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setBrush(ToQColor(fill_));
  const QRect area = rect().adjusted(0, 0, -1, -1);
  if (kind_ == Kind::kCircle) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(ToQColor(fill_));
    painter.drawEllipse(area);
    return;
  }
  if (border_) {
    painter.setPen(QPen(ToQColor(*border_), 1, Qt::DotLine));
  } else {
    painter.setPen(Qt::NoPen);
  }
  painter.drawRect(area);
}

}  // namespace tessary
