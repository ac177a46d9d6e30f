#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mapgen {

// One attribute of a tag: its name and its value as written, the value's
// quotes removed (empty when the attribute has none).
struct TagAttribute {
  std::string_view name;
  std::string_view value;
};

using TagAttributes = std::vector<TagAttribute>;

// The texts that end a page's head, letter case ignored, and the longest
// of them; whether `tag` begins with one.
inline constexpr std::string_view kHeadEnds[] = {"</head", "<body"};
inline constexpr std::size_t kLongestHeadEnd = 6;
bool EndsHead(std::string_view tag);

// The value of the first attribute called `name` in any letter case;
// empty when the tag has none.
std::string_view AttributeValue(const TagAttributes& attributes,
                                std::string_view name);

// Offers each <meta> tag of a page's head to `wanted`, in order, until it
// says yes; whether one did. The head ends at "</head", "<body" or the end
// of `html`; comments are skipped, and a tag cut off by the end of `html`
// counts as absent. Names of tags and attributes match in any letter case,
// attributes come in any order, quoted either way or not at all.
bool FindMetaTag(std::string_view html,
                 const std::function<bool(const TagAttributes&)>& wanted);

}  // namespace mapgen
