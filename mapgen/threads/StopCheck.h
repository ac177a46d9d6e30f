#pragma once

namespace mapgen {

// How long work learns that it is to end early: it asks now and then, from
// any of its threads.
class StopCheck {
 public:
  virtual ~StopCheck() = default;
  virtual bool StopRequested() const { return false; }
};

}  // namespace mapgen
