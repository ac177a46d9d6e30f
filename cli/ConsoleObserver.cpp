#include "ConsoleObserver.h"

#include <unistd.h>

#include <cstdio>

#include "TerminalText.h"

namespace cli {
namespace {

std::string Counted(std::size_t count, const std::string& what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

ConsoleObserver::ConsoleObserver(bool quiet)
    : quiet_(quiet), start_(std::chrono::steady_clock::now()) {
  if (!quiet && ::isatty(STDERR_FILENO)) progress_.emplace(stderr);
}

void ConsoleObserver::FolderWritten(const std::string& folder, std::size_t done,
                                    std::size_t total) {
  if (progress_) progress_->Show(folder, done, total);
}

void ConsoleObserver::Unreadable(const mapgen::Failure& failure) {
  if (quiet_) return;
  Finish();
  const std::string path = ShownOnTerminal(failure.path);
  if (failure.reason == mapgen::kLeadsOutsideReason) {
    std::fprintf(stderr,
                 "tessary-cli: warning: %s leads outside the base folder: "
                 "not read\n",
                 path.c_str());
    return;
  }
  std::fprintf(stderr, "tessary-cli: warning: cannot read %s: %s\n",
               path.c_str(), ShownOnTerminal(failure.reason).c_str());
}

void ConsoleObserver::Warning(const std::string& text) {
  if (quiet_) return;
  Finish();
  std::fprintf(stderr, "tessary-cli: warning: %s\n",
               ShownOnTerminal(text).c_str());
}

void ConsoleObserver::Finish() {
  if (progress_) progress_->Clear();
}

void ConsoleObserver::Summarize(const mapgen::BuildResult& result,
                                const std::string& where) {
  if (!progress_) return;
  const std::chrono::duration<double> took =
      std::chrono::steady_clock::now() - start_;
  std::fprintf(stderr, "Wrote %s: %s, %s, %s in %.2f s\n", where.c_str(),
               Counted(result.folders, "folder").c_str(),
               Counted(result.files, "file").c_str(),
               Counted(result.webPages, "page").c_str(), took.count());
}

}  // namespace cli
