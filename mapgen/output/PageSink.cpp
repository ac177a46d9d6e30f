#include "PageSink.h"

#include "WriteAll.h"

namespace mapgen {

bool DescriptorSink::Write(std::string_view bytes, Failure& failure) {
  return WriteAll(fd_, bytes, name_, failure);
}

}  // namespace mapgen
