#pragma once

#include <QFrame>

#include "MapSettings.h"

namespace tessary {

// A colour button: a small sunken frame, cmdColor(i), showing the colour
// shpColor(i) as a swatch inside it.
class ColorSwatch : public QFrame {
  Q_OBJECT
 public:
  explicit ColorSwatch(QWidget* parent);

  void setColour(mapgen::Colour colour);
  mapgen::Colour colour() const;
  QWidget* swatch() const { return swatch_; }

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* swatch_;
};

}  // namespace tessary
