// The signals that end tessary-cli halfway must not leave its temporary
// page behind.
#include "Signals.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <filesystem>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "TemporaryFileRecord.h"

namespace cli {
namespace {

using mapgen::testing_support::RunInChild;
using mapgen::testing_support::TempFolder;

// Ends a child while it writes a temporary page, with the signal `raised`;
// `ignored` is ignored before tessary-cli's handlers are set, as nohup does.
mapgen::testing_support::ChildResult EndWhileWriting(const TempFolder& temp, int raised,
                                                     int ignored) {
  return RunInChild([&] {
    ::signal(ignored, SIG_IGN);
    HandleSignals();
    const int folder = ::open(temp.path().c_str(), O_PATH | O_DIRECTORY);
    const mapgen::TemporaryFileRecord record(folder, ".tessary-page.tmp");
    ::raise(raised);
    return std::string("went on");
  });
}

TEST(Signals, EndTheProgramOnlyAfterRemovingTheTemporaryPage) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TempFolder temp;
    temp.Write(".tessary-page.tmp", "half a page");
    EXPECT_EQ(EndWhileWriting(temp, signal, SIGUSR1).signal, signal);
    EXPECT_FALSE(std::filesystem::exists(temp.path() + "/.tessary-page.tmp"));
  }
  TempFolder temp;
  temp.Write(".tessary-page.tmp", "half a page");
  EXPECT_EQ(EndWhileWriting(temp, SIGHUP, SIGHUP).output, "went on");
  EXPECT_TRUE(std::filesystem::exists(temp.path() + "/.tessary-page.tmp"));
}

}  // namespace
}  // namespace cli
