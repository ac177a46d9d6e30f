#include "StagedSitemap.h"

#include "MapFileWriter.h"
#include "Paths.h"

namespace mapgen {

// The sitemap comes one <url> at a time; it is written in pieces of this
// size.
constexpr std::size_t kWriteSize = 64 * 1024;

StagedSitemap::StagedSitemap(std::string folder) : folder_(std::move(folder)) {}

StagedSitemap::~StagedSitemap() = default;

// The staged files go with their objects.
void StagedSitemap::Drop() {
  files_.clear();
  buffer_.clear();
  failure_.reset();
}

Outcome<void> StagedSitemap::Start(const FileSystem& fs) {
  Drop();
  auto output = fs.OpenOutputFolder(folder_);
  if (!output) return std::move(output).failure();
  output_ = std::move(*output);
  return {};
}

void StagedSitemap::Begin() {
  if (failure_) return;
  // Only this process reads a staged file, to copy it where it goes.
  auto staged = output_->CreateTemporary(0600);
  if (!staged) {
    failure_ = std::move(staged).failure();
    return;
  }
  files_.push_back({std::move(*staged), {}});
}

void StagedSitemap::Write(std::string_view chunk) {
  // A chunk as large as a piece goes out as it is rather than through the
  // buffer.
  if (buffer_.empty() && chunk.size() >= kWriteSize / 2) {
    WriteOut(chunk);
    return;
  }
  buffer_ += chunk;
  if (buffer_.size() >= kWriteSize) Flush();
}

void StagedSitemap::Flush() {
  WriteOut(buffer_);
  buffer_.clear();
}

void StagedSitemap::WriteOut(std::string_view bytes) {
  if (failure_) return;
  if (auto written = files_.back().staged->Write(bytes); !written) {
    failure_ = std::move(written).failure();
  }
}

void StagedSitemap::End(std::string_view name) {
  Flush();
  if (failure_) return;
  File& file = files_.back();
  file.name = name;
  if (auto finished = file.staged->Finish(); !finished) {
    failure_ = std::move(finished).failure();
  }
}

Outcome<void> StagedSitemap::Staged() const {
  if (failure_) return *failure_;
  return {};
}

std::vector<std::string> StagedSitemap::Names() const {
  std::vector<std::string> names;
  for (const File& file : files_) names.push_back(file.name);
  return names;
}

std::vector<std::size_t> StagedSitemap::AddTo(OutputSet& set,
                                              const std::string& folder) const {
  std::vector<std::size_t> outputs;
  for (const File& file : files_) {
    outputs.push_back(set.Add("XML sitemap", JoinPath(folder, file.name)));
  }
  return outputs;
}

Outcome<void> StagedSitemap::Fill(OutputSet& set,
                                  const std::vector<std::size_t>& outputs,
                                  const FileSystem& fs) const {
  if (auto staged = Staged(); !staged) return staged;
  for (std::size_t i = 0; i < files_.size(); ++i) {
    auto source = fs.OpenFile(JoinPath(folder_, files_[i].staged->Name()));
    if (!source) return std::move(source).failure();
    auto target = set.Open(outputs[i]);
    if (!target) return std::move(target).failure();
    if (auto copied = CopyAll(**source, **target); !copied) return copied;
  }
  return {};
}

Outcome<void> StagedSitemap::Place(const FileSystem& fs,
                                   const std::string& folder) const {
  OutputSet set(fs);
  const std::vector<std::size_t> outputs = AddTo(set, folder);
  if (auto checked = set.Check(); !checked) return checked;
  if (auto filled = Fill(set, outputs, fs); !filled) return filled;
  return set.Commit();
}

}  // namespace mapgen
