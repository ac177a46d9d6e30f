#include "PageSink.h"

#include "WriteAll.h"

namespace mapgen {

Outcome<void> DescriptorSink::Write(std::string_view bytes) {
  return WriteAll(fd_, bytes, name_);
}

}  // namespace mapgen
