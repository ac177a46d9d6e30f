#include "BuildWarnings.h"

#include <QStringList>

#include "NativePath.h"

namespace tessary {
namespace {

// The words for each kind: counted in the summary, and before each path.
struct KindWords {
  const char* one;
  const char* many;
  const char* entry;
};
constexpr KindWords kWords[] = {
    {"1 folder or page could not be read",
     "%1 folders or pages could not be read", "Cannot read"},
    {"1 link leads outside the base folder and was not read",
     "%1 links lead outside the base folder and were not read", "Not read"},
    {"1 note on the XML sitemap", "%1 notes on the XML sitemap", "XML sitemap"},
};

}  // namespace

void BuildWarnings::Add(Kind kind, const mapgen::Failure& failure) {
  ++counts_[static_cast<std::size_t>(kind)];
  ++total_;
  if (kept_.size() < kKept) kept_.push_back({kind, failure});
}

QString BuildWarnings::Summary() const {
  QStringList parts;
  for (std::size_t kind = 0; kind < kKinds; ++kind) {
    const std::size_t count = counts_[kind];
    if (count == 0) continue;
    parts << (count == 1 ? QString::fromLatin1(kWords[kind].one)
                         : QString::fromLatin1(kWords[kind].many)
                               .arg(static_cast<qulonglong>(count)));
  }
  return parts.join("; ") + '.';
}

QString BuildWarnings::Details() const {
  QStringList lines;
  for (const Entry& entry : kept_) {
    const QString kind =
        QString::fromLatin1(kWords[static_cast<std::size_t>(entry.kind)].entry);
    const QString reason = QString::fromStdString(entry.failure.reason);
    lines << (entry.failure.path.empty()
                  ? QStringLiteral("%1: %2").arg(kind, reason)
                  : QStringLiteral("%1 %2: %3")
                        .arg(kind, ShownPath(entry.failure.path), reason));
  }
  if (total_ > kept_.size()) {
    lines << QStringLiteral("… and %1 more")
                 .arg(static_cast<qulonglong>(total_ - kept_.size()));
  }
  return lines.join('\n');
}

}  // namespace tessary
