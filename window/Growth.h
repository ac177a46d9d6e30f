#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace tessary {

// How a control follows a window that grows past its designed size: the
// shares of the extra width and height it moves by and grows by. The
// command column moves the whole extra width; the folder tree grows by it.
struct Give {
  double moveX = 0;
  double moveY = 0;
  double growX = 0;
  double growY = 0;
};

// The controls that follow the window, each from the place it was
// designed at.
class Growth {
 public:
  // Takes the control's present place as its designed one.
  void Add(QWidget* control, Give give);

  // Places every control for a window `extra` larger than designed.
  void Apply(QSize extra) const;

 private:
  struct Follower {
    QPointer<QWidget> control;
    QRect designed;
    Give give;
  };
  std::vector<Follower> followers_;
};

}  // namespace tessary
