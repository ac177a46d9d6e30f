#pragma once

#include <string>
#include <string_view>

#include "Outcome.h"

namespace mapgen {

// Where the page goes as it is written, piece by piece, in page order.
class PageSink {
 public:
  virtual ~PageSink() = default;
  // Takes the next bytes of the page; a failure ends the build.
  virtual Outcome<void> Write(std::string_view bytes) = 0;
};

// Writes the page to an open descriptor, such as standard output, which
// stays open; `name` names it in failures.
class DescriptorSink : public PageSink {
 public:
  DescriptorSink(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  Outcome<void> Write(std::string_view bytes) override;

 private:
  int fd_;
  std::string name_;
};

}  // namespace mapgen
