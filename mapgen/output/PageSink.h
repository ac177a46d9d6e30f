#pragma once

#include <string>
#include <string_view>

#include "Failure.h"

namespace mapgen {

// Where the page goes as it is written, piece by piece, in page order.
class PageSink {
 public:
  virtual ~PageSink() = default;
  // Takes the next bytes of the page; false with `failure` set when they
  // could not be written, which ends the build.
  virtual bool Write(std::string_view bytes, Failure& failure) = 0;
};

// Keeps the page in memory, for tests and small pages.
class StringSink : public PageSink {
 public:
  bool Write(std::string_view bytes, Failure&) override {
    text += bytes;
    return true;
  }
  std::string text;
};

// Writes the page to an open descriptor, such as standard output, which
// stays open; `name` names it in failures.
class DescriptorSink : public PageSink {
 public:
  DescriptorSink(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
  bool Write(std::string_view bytes, Failure& failure) override;

 private:
  int fd_;
  std::string name_;
};

}  // namespace mapgen
