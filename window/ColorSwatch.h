#pragma once

#include <QPushButton>

#include "MapSettings.h"

namespace tessary {

// A colour button, cmdColor(i), showing the colour shpColor(i) as a swatch
// inside it. A button, so that the keyboard reaches it and Space or Enter
// opens the colour dialog as a click does.
class ColorSwatch : public QPushButton {
  Q_OBJECT
 public:
  explicit ColorSwatch(QWidget* parent);

  void setColour(mapgen::Colour colour);
  mapgen::Colour colour() const;
  QWidget* swatch() const { return swatch_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* swatch_;
};

}  // namespace tessary
