#pragma once

namespace cli {

// Makes interrupt, terminate and hang-up first remove the page file being
// written, then end the process as they would have; a signal the caller
// ignores (nohup) stays ignored. A page that grows past the file size limit
// becomes a write error with its path, instead of ending the process.
void HandleSignals();

}  // namespace cli
