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
  if (!border_) {
    painter.setPen(Qt::NoPen);
    painter.drawRect(area);
    return;
  }
  // One screen pixel wide, drawn half a pixel inside the edges: a line on
  // the edge itself falls outside the widget where a scale such as 1.5
  // puts its first row and column between two screen pixels.
  QPen dotted(ToQColor(*border_), 0, Qt::DotLine);
  dotted.setCosmetic(true);
  painter.setPen(dotted);
  painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

}  // namespace tessary
