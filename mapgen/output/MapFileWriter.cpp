#include "MapFileWriter.h"

#include <array>

namespace mapgen {
namespace {

// Writes what `fill` gives to the one file of a set at `target`, and puts
// it in place once all of it is written.
Outcome<void> WriteOne(
    const FileSystem& fs, const OutputTarget& target,
    const std::function<Outcome<void>(PageSink& file)>& fill) {
  OutputSet set(fs);
  const std::size_t output = set.Add("file", target);
  if (auto checked = set.Check(); !checked) return checked;
  auto file = set.Open(output);
  if (!file) return std::move(file).failure();
  if (auto filled = fill(**file); !filled) return filled;
  return set.Commit();
}

}  // namespace

Outcome<void> WriteMapFile(const FileSystem& fs, const OutputTarget& target,
                           std::string_view text) {
  return WriteOne(fs, target, [&](PageSink& file) { return file.Write(text); });
}

Outcome<void> CopyAll(FileReader& source, PageSink& target) {
  std::array<char, 64 * 1024> buffer;
  while (true) {
    const auto got = source.Read(buffer.data(), buffer.size());
    if (!got) return got.failure();
    if (*got == 0) return {};
    if (auto written = target.Write({buffer.data(), *got}); !written) {
      return written;
    }
  }
}

}  // namespace mapgen
