#include "ThreadBudget.h"

#include <sys/resource.h>

#include <algorithm>
#include <thread>

namespace mapgen {

// The thread that runs the step works too: one core is its own.
ThreadBudget::ThreadBudget(unsigned most)
    : most_(most),
      busy_(std::clamp(std::thread::hardware_concurrency(), 2u, most + 1) - 1) {
}

long ThreadBudget::Waits() {
  rusage usage{};
  ::getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_nvcsw;
}

}  // namespace mapgen
