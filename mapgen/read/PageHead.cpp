#include "PageHead.h"

#include <optional>
#include <utility>

#include "CanonicalLink.h"
#include "DeclaredCharset.h"
#include "MetaTags.h"
#include "PageDecoder.h"
#include "RobotsNoindex.h"
#include "TitleScanner.h"
#include "Utf8.h"

namespace mapgen {
namespace {

// Where the first text that ends the head begins; npos when none does.
std::size_t HeadEnd(std::string_view text) {
  for (std::size_t at = text.find('<'); at != text.npos;
       at = text.find('<', at + 1)) {
    // Most tags of a head rule themselves out by their first letter.
    const char next = at + 1 < text.size() ? text[at + 1] : '\0';
    if (next != '/' && next != 'b' && next != 'B') continue;
    if (EndsHead(text.substr(at))) return at;
  }
  return text.npos;
}

// The start of a page as read: for a UTF-16 page decoded, so that it is
// searched as any other.
class HeadScan {
 public:
  explicit HeadScan(const HeadReading& reading)
      : reading_(reading), title_("<TITLE", "</TITLE") {}

  bool Done() const {
    return (!reading_.title || title_.Done()) &&
           (!reading_.robots || headEnded_ || head_.size() >= kHeadSearchBytes);
  }

  void Feed(std::string_view bytes) {
    if (!decided_ && undecided_.empty() && bytes.size() >= 2) {
      Decide(bytes);
    } else if (!decided_) {
      // A byte-order mark takes two bytes, which one read may split.
      undecided_.append(bytes);
      if (undecided_.size() < 2) return;
      Decide(undecided_);
      bytes = undecided_;
    }
    if (decoder_) {
      Take(decoder_->Decode(bytes), bytes);
    } else {
      Take(bytes, bytes);
    }
  }

  PageHead Finish() {
    if (!decided_) {
      Decide(undecided_);
      Take(undecided_, undecided_);
    }
    if (decoder_) Take(decoder_->Finish(), {});
    PageHead head{title_.Finish(), false, std::nullopt};
    const bool wantsCharset = reading_.utf8 && !decoder_;
    std::string_view metaCharset;
    if (wantsCharset || reading_.robots) {
      // One pass over the head's tags serves every question.
      FindHeadTag(head_, [&](HeadTag kind, const TagAttributes& tag) {
        if (kind == HeadTag::kLink) {
          if (reading_.robots && !head.canonical) {
            if (const auto href = CanonicalHref(tag)) head.canonical = *href;
          }
        } else {
          if (wantsCharset && metaCharset.empty()) {
            metaCharset = MetaTagCharset(tag);
          }
          if (reading_.robots && !head.noindex) {
            head.noindex = AsksNoindex(tag);
          }
        }
        // A page that asks not to be indexed is left out, whatever its
        // canonical address.
        return (!wantsCharset || !metaCharset.empty()) &&
               (!reading_.robots || head.noindex);
      });
    }
    if (wantsCharset) {
      head.title = TitleToUtf8(std::move(head.title),
                               DeclaredCharset(head_, metaCharset));
    }
    WithoutNul(head.title);
    return head;
  }

 private:
  void Decide(std::string_view start) {
    decided_ = true;
    if (!reading_.utf8 && !reading_.robots) return;
    const std::string_view mark = ByteOrderMarkCharset(start);
    if (mark.starts_with("UTF-16")) decoder_.emplace(mark);
  }

  // A NUL is never written to a page: a page in UTF-8 shows it as
  // U+FFFD, as browsers do, and one in its pages' own bytes leaves it out.
  void WithoutNul(std::string& title) const {
    if (title.find('\0') == std::string::npos) return;
    std::string kept;
    for (const char c : title) {
      if (c != '\0') {
        kept += c;
      } else if (reading_.utf8) {
        kept += kReplacementCharacter;
      }
    }
    title = std::move(kept);
  }

  // Takes the next text of the page, decoded, and the bytes it came from.
  void Take(std::string_view text, std::string_view bytes) {
    const bool keep = reading_.utf8 || reading_.robots;
    if (keep && !headEnded_ && head_.size() < kHeadSearchBytes) {
      KeepHead(text.substr(0, kHeadSearchBytes - head_.size()));
    }
    // The title of a UTF-16 page read without UTF-8 is searched in its
    // bytes, as the classic page always did.
    if (reading_.title && !title_.Done()) {
      title_.Feed(reading_.utf8 ? text : bytes);
    }
  }

  // Keeps the text of the head, where the declarations and the robots tag
  // are searched, and no more: most pages end their head in the first
  // read, and the rest of the read is never copied.
  void KeepHead(std::string_view text) {
    const std::size_t carried = std::min(head_.size(), kLongestHeadEnd - 1);
    if (carried > 0) {
      // An end that one read split.
      const std::string joined =
          head_.substr(head_.size() - carried) +
          std::string(text.substr(0, kLongestHeadEnd - 1));
      const std::size_t split = HeadEnd(joined);
      if (split < carried) {
        head_.resize(head_.size() - carried + split);
        headEnded_ = true;
        return;
      }
    }
    const std::size_t end = HeadEnd(text);
    head_.append(text.substr(0, end));
    headEnded_ = end != text.npos;
  }

  const HeadReading& reading_;
  TitleScanner title_;
  std::optional<PageDecoder> decoder_;
  std::string undecided_;
  std::string head_;
  bool decided_ = false;
  bool headEnded_ = false;
};

}  // namespace

Outcome<PageHead> ReadPageHead(FileReader& page, const HeadReading& reading,
                               const StopCheck& stop) {
  HeadScan scan(reading);
  const auto feed = [&](std::string_view bytes) {
    scan.Feed(bytes);
    return !scan.Done();
  };
  if (auto read = ReadPageStart(page, feed, stop); !read) {
    return std::move(read).failure();
  }
  return scan.Finish();
}

}  // namespace mapgen
