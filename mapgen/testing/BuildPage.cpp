#include "BuildPage.h"

namespace mapgen {

BuiltPage BuildPage(const MapSettings& settings, const FileSystem& fs,
                    BuildObserver& observer, unsigned threads) {
  StringSink sink;
  BuiltPage built{BuildMap(settings, fs, observer, sink, threads), {}};
  built.mapText = std::move(sink.text);
  return built;
}

}  // namespace mapgen
