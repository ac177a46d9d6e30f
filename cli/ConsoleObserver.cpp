#include "ConsoleObserver.h"

#include <unistd.h>

#include <cstdio>

#include "TerminalText.h"

namespace cli {

ConsoleObserver::ConsoleObserver(bool quiet) : quiet_(quiet) {
  if (!quiet && ::isatty(STDERR_FILENO)) progress_.emplace(stderr);
}

void ConsoleObserver::FolderWritten(const std::string& folder, std::size_t done,
                                    std::size_t total) {
  if (progress_) progress_->Show(folder, done, total);
}

void ConsoleObserver::Unreadable(const mapgen::Failure& failure) {
  if (quiet_) return;
  Finish();
  std::fprintf(stderr, "tessary-cli: warning: cannot read %s: %s\n",
               ShownOnTerminal(failure.path).c_str(),
               ShownOnTerminal(failure.reason).c_str());
}

void ConsoleObserver::Finish() {
  if (progress_) progress_->Clear();
}

}  // namespace cli
