#pragma once

#include <string>
#include <string_view>

#include "PageSink.h"

namespace mapgen {

// Keeps the page in memory.
class StringSink : public PageSink {
 public:
  Outcome<void> Write(std::string_view bytes) override {
    text += bytes;
    return {};
  }
  std::string text;
};

}  // namespace mapgen
