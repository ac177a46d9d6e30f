#pragma once

#include <QWidget>
#include <optional>

#include "MapSettings.h"

namespace tessary {

// A filled rectangle or circle, optionally with a dotted border, as the
// picture of the page draws its page and its bullets. Clicks go through it
// to whatever lies behind.
class Shape : public QWidget {
  Q_OBJECT
 public:
  enum class Kind { kRectangle, kCircle };

  Shape(QWidget* parent, Kind kind, mapgen::Colour fill,
        std::optional<mapgen::Colour> dottedBorder = std::nullopt);

  void setFillColour(mapgen::Colour fill);
  mapgen::Colour fillColour() const { return fill_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Kind kind_;
  mapgen::Colour fill_;
  std::optional<mapgen::Colour> border_;
};

}  // namespace tessary
