#include "GitCommand.h"

namespace mapgen {

std::vector<std::string> GitCommand(const std::string& git,
                                    const std::vector<std::string>& command) {
  std::vector<std::string> arguments = {git, "-c", "core.fsmonitor=false",
                                        "--no-optional-locks"};
  arguments.insert(arguments.end(), command.begin(), command.end());
  return arguments;
}

}  // namespace mapgen
