#include "Growth.h"

#include <cmath>

namespace tessary {

void Growth::Add(QWidget* control, Give give) {
  followers_.push_back({control, control->geometry(), give});
}

// A control that only moves keeps the size it has now, which may not be
// its designed one (the progress bar's fill).
void Growth::Apply(QSize extra) const {
  const auto share = [](int extra, double give) {
    return static_cast<int>(std::lround(extra * give));
  };
  for (const Follower& f : followers_) {
    if (f.control == nullptr) continue;
    const QPoint place =
        f.designed.topLeft() + QPoint(share(extra.width(), f.give.moveX),
                                      share(extra.height(), f.give.moveY));
    if (f.give.growX == 0 && f.give.growY == 0) {
      f.control->move(place);
      continue;
    }
    f.control->setGeometry(
        {place,
         f.designed.size() + QSize(share(extra.width(), f.give.growX),
                                   share(extra.height(), f.give.growY))});
  }
}

}  // namespace tessary
