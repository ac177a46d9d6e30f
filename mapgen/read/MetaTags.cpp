#include "MetaTags.h"

#include <optional>

#include "Ascii.h"

namespace mapgen {
namespace {

// Reads the attributes of a tag from just after its name up to its ">".
// Returns where the tag ends, or npos when `html` ends first.
class AttributeReader {
 public:
  AttributeReader(std::string_view html, std::size_t pos)
      : html_(html), pos_(pos) {}

  std::size_t Read(TagAttributes& attributes) {
    while (true) {
      while (pos_ < html_.size() &&
             (IsHtmlSpace(html_[pos_]) || html_[pos_] == '/')) {
        ++pos_;
      }
      if (pos_ >= html_.size()) return std::string_view::npos;
      if (html_[pos_] == '>') return pos_ + 1;
      TagAttribute attribute;
      const std::size_t nameStart = pos_;
      while (pos_ < html_.size() && !IsHtmlSpace(html_[pos_]) &&
             html_[pos_] != '=' && html_[pos_] != '>' && html_[pos_] != '/') {
        ++pos_;
      }
      attribute.name = html_.substr(nameStart, pos_ - nameStart);
      SkipSpace();
      if (pos_ < html_.size() && html_[pos_] == '=') {
        ++pos_;
        SkipSpace();
        if (!ReadValue(attribute.value)) return std::string_view::npos;
      }
      if (!attribute.name.empty()) attributes.push_back(std::move(attribute));
    }
  }

 private:
  void SkipSpace() {
    while (pos_ < html_.size() && IsHtmlSpace(html_[pos_])) ++pos_;
  }

  bool ReadValue(std::string_view& value) {
    if (pos_ >= html_.size()) return false;
    const char quote = html_[pos_];
    if (quote == '"' || quote == '\'') {
      const std::size_t close = html_.find(quote, pos_ + 1);
      if (close == std::string_view::npos) return false;
      value = html_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
      return true;
    }
    const std::size_t start = pos_;
    while (pos_ < html_.size() && !IsHtmlSpace(html_[pos_]) &&
           html_[pos_] != '>') {
      ++pos_;
    }
    value = html_.substr(start, pos_ - start);
    return true;
  }

  std::string_view html_;
  std::size_t pos_;
};

// Whether `tag` begins with the tag `name` ("<meta"), and not with a
// longer one ("<metadata").
bool IsTag(std::string_view tag, std::string_view name) {
  return StartsWithIgnoringAsciiCase(tag, name) &&
         (tag.size() == name.size() || IsHtmlSpace(tag[name.size()]) ||
          tag[name.size()] == '/' || tag[name.size()] == '>');
}

// Which of the tags FindHeadTag offers begins `tag`, if one does.
std::optional<HeadTag> HeadTagAt(std::string_view tag) {
  if (IsTag(tag, "<meta")) return HeadTag::kMeta;
  if (IsTag(tag, "<link")) return HeadTag::kLink;
  return std::nullopt;
}

}  // namespace

bool EndsHead(std::string_view tag) {
  for (const std::string_view end : kHeadEnds) {
    if (StartsWithIgnoringAsciiCase(tag, end)) return true;
  }
  return false;
}

std::string_view AttributeValue(const TagAttributes& attributes,
                                std::string_view name) {
  for (const TagAttribute& attribute : attributes) {
    if (EqualsIgnoringAsciiCase(attribute.name, name)) return attribute.value;
  }
  return {};
}

bool FindHeadTag(
    std::string_view html,
    const std::function<bool(HeadTag, const TagAttributes&)>& wanted) {
  std::size_t pos = 0;
  // One list for all the tags, so that only the first allocates.
  TagAttributes attributes;
  while ((pos = html.find('<', pos)) != std::string_view::npos) {
    const std::string_view tag = html.substr(pos);
    if (tag.starts_with("<!--")) {
      pos = html.find("-->", pos + 4);
      if (pos == std::string_view::npos) return false;
      pos += 3;
    } else if (EndsHead(tag)) {
      return false;
    } else if (const std::optional<HeadTag> kind = HeadTagAt(tag)) {
      attributes.clear();
      // Both names are five characters long with their "<".
      pos = AttributeReader(html, pos + 5).Read(attributes);
      if (pos == std::string_view::npos) return false;
      if (wanted(*kind, attributes)) return true;
    } else {
      ++pos;
    }
  }
  return false;
}

}  // namespace mapgen
