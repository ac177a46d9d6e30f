#include "TemporaryFileRecord.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>

namespace mapgen {
namespace {

// Fixed slots, because a signal handler may neither lock nor allocate: a
// slot is free, being filled, or names a file.
enum SlotState : int { kFree, kFilling, kInUse };

struct Slot {
  std::atomic<int> state = kFree;
  int folderFd = -1;
  char name[64] = {};
};

std::array<Slot, 16> slots;

}  // namespace

TemporaryFileRecord::TemporaryFileRecord(int folderFd, std::string_view name)
    : slot_(-1) {
  if (name.size() >= sizeof Slot::name) return;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    int expected = kFree;
    if (!slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    slots[i].folderFd = folderFd;
    std::fill(std::begin(slots[i].name), std::end(slots[i].name), '\0');
    std::copy(name.begin(), name.end(), slots[i].name);
    slots[i].state = kInUse;
    slot_ = static_cast<int>(i);
    return;
  }
}

TemporaryFileRecord::~TemporaryFileRecord() {
  if (slot_ >= 0) slots[static_cast<std::size_t>(slot_)].state = kFree;
}

void RemoveTemporaryFiles() noexcept {
  for (Slot& slot : slots) {
    if (slot.state == kInUse) ::unlinkat(slot.folderFd, slot.name, 0);
  }
}

}  // namespace mapgen
