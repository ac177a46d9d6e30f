#pragma once

#include <QLineEdit>
#include <string>

namespace tessary {

// A line that shows a path and gives it back in the file system's bytes.
// Bytes that are no UTF-8 show as U+FFFD, and survive an edit that leaves
// the folders holding them as they are shown, such as a new file name.
class PathEdit : public QLineEdit {
  Q_OBJECT
 public:
  using QLineEdit::QLineEdit;

  void setPath(const std::string& path);
  std::string path() const;

 private:
  std::string path_;  // as last set; the text may have changed since
};

}  // namespace tessary
