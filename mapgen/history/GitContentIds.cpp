#include "GitContentIds.h"

#include <algorithm>
#include <utility>

#include "ChildProgram.h"
#include "GitCommand.h"

namespace mapgen {
namespace {

// A path as git reads it from a line: quoted as C quotes strings when it
// holds what a line cannot, or starts with a quote.
std::string LinePath(std::string_view path) {
  const bool plain =
      !path.starts_with('"') && std::ranges::none_of(path, [](char c) {
        return c == '\n' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
      });
  if (plain) return std::string(path);
  std::string quoted = "\"";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      quoted += '\\';
      quoted += static_cast<char>('0' + (byte >> 6));
      quoted += static_cast<char>('0' + ((byte >> 3) & 7));
      quoted += static_cast<char>('0' + (byte & 7));
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

}  // namespace

GitContentIds::GitContentIds(std::string top, std::string prefix,
                             std::string git)
    : top_(std::move(top)), prefix_(std::move(prefix)), git_(std::move(git)) {}

GitContentIds::~GitContentIds() = default;

std::optional<std::string> GitContentIds::Of(std::string_view path) {
  const std::scoped_lock lock(mutex_);
  if (program_ == nullptr) {
    auto started = ChildProgram::StartTalking(
        GitCommand(git_, {"hash-object", "--stdin-paths"}), top_);
    if (!started) return std::nullopt;
    program_ = std::move(*started);
  }
  auto id = program_->Ask(LinePath(prefix_ + std::string(path)));
  if (!id) {
    // It ends at a file it cannot read; the next file starts it again.
    program_.reset();
    return std::nullopt;
  }
  return std::move(*id);
}

}  // namespace mapgen
