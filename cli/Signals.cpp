#include "Signals.h"

#include <signal.h>

#include "TemporaryFileRecord.h"

namespace cli {
namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

void SetHandler(int signal, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
}

// The signal stays blocked while its handler runs, so raised again here it
// arrives, with its default action, as soon as the handler returns.
void RemoveTemporaryFilesAndEnd(int signal) {
  mapgen::RemoveTemporaryFiles();
  SetHandler(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void HandleSignals() {
  for (const int signal : kEndingSignals) {
    struct sigaction current {};
    ::sigaction(signal, nullptr, &current);
    if (current.sa_handler != SIG_IGN) {
      SetHandler(signal, RemoveTemporaryFilesAndEnd);
    }
  }
  SetHandler(SIGXFSZ, SIG_IGN);
}

}  // namespace cli
