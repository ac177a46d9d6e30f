#include <cerrno>
#include <cstdio>

#include "Failure.h"
#include "RunCli.h"
#include "StandardDescriptors.h"

int main(int argc, char** argv) {
  // First of all, so that no file the program opens can take the number
  // of a closed standard descriptor.
  const auto closedAtStart = mapgen::OpenClosedStandardDescriptors();
  if (!closedAtStart) {
    std::fprintf(stderr, "tessary-cli: cannot open /dev/null: %s\n",
                 mapgen::SystemFailure({}, errno).reason.c_str());
    return cli::kExitFailed;
  }
  return cli::RunCli({argv + 1, argv + argc}, *closedAtStart);
}
