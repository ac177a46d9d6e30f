#include "BuildPage.h"

#include "StringSink.h"

namespace mapgen {

BuiltPage BuildPage(const MapSettings& settings, const FileSystem& fs,
                    BuildObserver& observer, unsigned threads,
                    const PagePlacement& placement) {
  StringSink sink;
  BuiltPage built{BuildMap(settings, fs, observer, sink, placement, threads),
                  {}};
  built.mapText = std::move(sink.text);
  return built;
}

}  // namespace mapgen
