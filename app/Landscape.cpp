#include "Landscape.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tessary {
namespace {

QPainterPath Hill(int width, int height, double base, double crest) {
  QPainterPath hill;
  hill.moveTo(0, height * base);
  hill.cubicTo(width * 0.3, height * crest, width * 0.6, height * (base + 0.1),
               width, height * (crest + 0.05));
  hill.lineTo(width, height);
  hill.lineTo(0, height);
  hill.closeSubpath();
  return hill;
}

}  // namespace

QPixmap Landscape(int width, int height) {
  QPixmap picture(width, height);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(70, 110, 180));
  sky.setColorAt(0.7, QColor(250, 200, 140));
  painter.fillRect(picture.rect(), sky);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 235, 170));
  painter.drawEllipse(QPointF(width * 0.72, height * 0.45), height * 0.1,
                      height * 0.1);
  painter.setBrush(QColor(80, 120, 90));
  painter.drawPath(Hill(width, height, 0.6, 0.45));
  painter.setBrush(QColor(50, 90, 60));
  painter.drawPath(Hill(width, height, 0.85, 0.65));
  return picture;
}

}  // namespace tessary
