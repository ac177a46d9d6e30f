#pragma once

#include <string>

namespace cli {

// Shell completion scripts for tessary-cli, made from the same flag table
// as its usage, so that a flag added there is completed too: flags, the
// values of flags that take one of a known set, file names where a flag
// takes a file, and folders for FOLDER.
std::string BashCompletion();
std::string ZshCompletion();
std::string FishCompletion();

}  // namespace cli
