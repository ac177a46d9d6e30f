#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mapgen {

// Nests the modern page's folder sections, which come in tree order (see
// TreeOrder.h), each a <details> that its subfolders' sections go into:
// a section stays open until the first section that is not below it. A
// folder that shows no files, when empty folders are not shown, has its
// start held back until a folder below it shows some, so a branch with no
// files leaves nothing on the page. What is held is one start a level, so
// the page streams whatever the tree's size.
class NestedSections {
 public:
  explicit NestedSections(bool showEmpties) : showEmpties_(showEmpties) {}

  // Appends what comes before the start of `folder`'s section, `start`,
  // which lists `files` files: the ends of the open sections it is not
  // below, and the held starts of those it is below. Says whether `start`
  // follows, or is held.
  bool Start(std::string_view folder, std::size_t files, std::string_view start,
             std::string& out);

  // Appends the ends of the sections still open, at the end of the page.
  void EndAll(std::string& out);

  // How many folders' sections were written.
  std::size_t Folders() const { return folders_; }

 private:
  // An open folder is the start of the deepest one's path, so it is held
  // as that start's length: a chain of 10,000 folders costs no more than
  // its deepest path.
  struct Open {
    std::size_t pathLength;
    bool written;
    std::string heldStart;  // until written
  };

  void EndUntilInside(std::string_view folder, std::string& out);
  void Push(std::string_view folder, bool written, std::string_view heldStart);

  const bool showEmpties_;
  std::vector<Open> open_;  // from the base folder down
  std::string deepest_;     // the path of the last folder opened
  std::size_t folders_ = 0;
};

}  // namespace mapgen
