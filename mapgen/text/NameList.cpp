#include "NameList.h"

#include <limits>
#include <new>

namespace mapgen {

void NameList::Add(std::string_view name, bool marked) {
  // Past four gigabytes of names the places no longer fit, and the machine
  // has run short long before.
  if (text_.size() + name.size() + 2 >
      std::numeric_limits<std::uint32_t>::max()) {
    throw std::bad_alloc();
  }
  starts_.push_back(static_cast<std::uint32_t>(text_.size()));
  text_ += marked ? '\1' : '\0';
  text_ += name;
  text_ += '\0';
}

std::string_view NameList::At(std::uint32_t start) const {
  const char* name = text_.data() + start + 1;
  return {name, std::char_traits<char>::length(name)};
}

std::string_view NameList::operator[](std::size_t i) const {
  return At(starts_[i]);
}

bool NameList::Marked(std::size_t i) const { return text_[starts_[i]] != '\0'; }

void NameList::Append(const NameList& other) {
  for (std::size_t i = 0; i < other.size(); ++i) {
    Add(other[i], other.Marked(i));
  }
}

bool NameList::operator==(const NameList& other) const {
  if (size() != other.size()) return false;
  for (std::size_t i = 0; i < size(); ++i) {
    if ((*this)[i] != other[i] || Marked(i) != other.Marked(i)) return false;
  }
  return true;
}

}  // namespace mapgen
