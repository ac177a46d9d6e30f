#include "MetaTags.h"

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

bool IsMetaTag(std::string_view tag) {
  return StartsWithIgnoringAsciiCase(tag, "<meta") &&
         (tag.size() == 5 || IsHtmlSpace(tag[5]) || tag[5] == '/' ||
          tag[5] == '>');
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

bool FindMetaTag(std::string_view html,
                 const std::function<bool(const TagAttributes&)>& wanted) {
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
    } else if (IsMetaTag(tag)) {
      attributes.clear();
      pos = AttributeReader(html, pos + 5).Read(attributes);
      if (pos == std::string_view::npos) return false;
      if (wanted(attributes)) return true;
    } else {
      ++pos;
    }
  }
  return false;
}

}  // namespace mapgen
