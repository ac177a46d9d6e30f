// Writes the shell completion scripts of tessary-cli into the folder given,
// under the names each shell looks for.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>

#include "Completions.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: tessary-completions FOLDER\n", stderr);
    return 2;
  }
  const std::string folder = argv[1];
  const std::pair<const char*, std::string> scripts[] = {
      {"tessary-cli", cli::BashCompletion()},
      {"_tessary-cli", cli::ZshCompletion()},
      {"tessary-cli.fish", cli::FishCompletion()},
  };
  for (const auto& [name, script] : scripts) {
    const std::string path = folder + "/" + name;
    std::ofstream file(path, std::ios::binary);
    if (!(file << script) || !file.flush()) {
      std::fprintf(stderr, "tessary-completions: cannot write %s: %s\n",
                   path.c_str(), std::strerror(errno));
      return 1;
    }
  }
  return 0;
}
