#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace mapgen::testing_support {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessary-test-XXXXXX")
            .string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }

  std::string Write(const std::string& relative,
                    const std::string& content = {}) const {
    const std::filesystem::path file = std::filesystem::path(path_) / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file.string();
  }

  // Makes folders named `name` inside one another, `levels` deep, each one
  // relative to the last so that any depth works, with a file `file` of
  // `content` in the deepest; returns the deepest folder's path.
  std::string Deep(const std::string& name, int levels, const std::string& file,
                   const std::string& content) const {
    int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string deepest = path_;
    for (int level = 0; level < levels && fd >= 0; ++level) {
      ::mkdirat(fd, name.c_str(), 0755);
      const int next =
          ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      ::close(fd);
      fd = next;
      deepest += "/" + name;
    }
    const int page = ::openat(fd, file.c_str(), O_WRONLY | O_CREAT, 0644);
    if (::write(page, content.data(), content.size()) < 0) deepest.clear();
    ::close(page);
    ::close(fd);
    return deepest;
  }

  // Binds a socket at `relative`; returns its descriptor.
  int Socket(const std::string& relative) const {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    (path_ + "/" + relative)
        .copy(address.sun_path, sizeof address.sun_path - 1);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
  }

  // The names in the folder `relative`, sorted.
  std::vector<std::string> Entries(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(path_ + "/" + relative)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string Read(const std::string& relative) const {
    std::ifstream in(std::filesystem::path(path_) / relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  std::string path_;
};

// Removes a file or folder by its bytes when it goes out of scope, for
// names that are no valid text and so beyond the temporary folders of
// tests that see names as text.
class RemovedAtEnd {
 public:
  explicit RemovedAtEnd(std::string path) : path_(std::move(path)) {}
  ~RemovedAtEnd() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  RemovedAtEnd(const RemovedAtEnd&) = delete;
  RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

 private:
  std::string path_;
};

}  // namespace mapgen::testing_support
