#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace mapgen {

// Names held one after another in one text, each found by where it
// starts: a folder of a million files costs its names and a few bytes a
// name, not a string each. A name may carry a mark (a link, for one).
// Names hold no NUL, which ends each in the text.
class NameList {
 public:
  NameList() = default;
  NameList(std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) Add(name);
  }

  void Add(std::string_view name, bool marked = false);

  std::size_t size() const { return starts_.size(); }
  bool empty() const { return starts_.empty(); }
  std::string_view operator[](std::size_t i) const;
  bool Marked(std::size_t i) const;

  // Puts the names in the order `less` gives.
  template <typename Less>
  void Sort(Less less) {
    std::sort(
        starts_.begin(), starts_.end(),
        [&](std::uint32_t a, std::uint32_t b) { return less(At(a), At(b)); });
  }

  // Appends the names of `other`, in their order.
  void Append(const NameList& other);

  // The same names with the same marks, in the same order.
  bool operator==(const NameList& other) const;

 private:
  std::string_view At(std::uint32_t start) const;

  // Each name as its mark byte, the name and a NUL.
  std::string text_;
  std::vector<std::uint32_t> starts_;
};

}  // namespace mapgen
