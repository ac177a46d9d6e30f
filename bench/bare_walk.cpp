// The reference a map build is measured against: one thread walks the tree
// and reads the first 4 KiB of every page, and does nothing else.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsPage(const char* name) {
  const char* dot = std::strrchr(name, '.');
  return dot != nullptr &&
         (std::strcmp(dot, ".html") == 0 || std::strcmp(dot, ".htm") == 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bare_walk FOLDER\n");
    return 2;
  }
  std::vector<std::string> pending{argv[1]};
  char buffer[4096];
  long pages = 0, bytes = 0;
  while (!pending.empty()) {
    const std::string folder = std::move(pending.back());
    pending.pop_back();
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) continue;
    while (const dirent* entry = ::readdir(dir)) {
      if (entry->d_name[0] == '.') continue;
      const std::string path = folder + "/" + entry->d_name;
      if (entry->d_type == DT_DIR) {
        pending.push_back(path);
      } else if (entry->d_type == DT_REG && IsPage(entry->d_name)) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd < 0) continue;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        bytes += got > 0 ? got : 0;
        ++pages;
        ::close(fd);
      }
    }
    ::closedir(dir);
  }
  std::printf("%ld pages, %ld bytes read\n", pages, bytes);
}
