#pragma once

#include <string>
#include <vector>

namespace mapgen {

// The arguments that run `git COMMAND...` as every run of git here goes:
// with no file system monitor started and no lock taken on the repository.
std::vector<std::string> GitCommand(const std::string& git,
                                    const std::vector<std::string>& command);

}  // namespace mapgen
