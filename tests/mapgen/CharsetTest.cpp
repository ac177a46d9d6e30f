#include <gtest/gtest.h>

#include <string>

#include "DeclaredCharset.h"
#include "MemoryFileSystem.h"
#include "PageDecoder.h"
#include "PageHead.h"
#include "Utf8.h"

namespace mapgen {
namespace {

using namespace std::string_literals;

constexpr const char* kNihon = "\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
constexpr const char* kFffd = "\xEF\xBF\xBD";

// The charset of a head as a page's reader finds it: the first meta tag
// that declares one, weighed against the mark and the XML declaration.
std::string Declared(std::string_view head) {
  std::string_view meta;
  FindHeadTag(head, [&](HeadTag kind, const TagAttributes& tag) {
    if (kind == HeadTag::kMeta) meta = MetaTagCharset(tag);
    return !meta.empty();
  });
  return DeclaredCharset(head, meta);
}

TEST(DeclaredCharset, FindsTheMarkTheXmlDeclarationOrTheFirstMetaInTheHead) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xEF\xBB\xBF<meta charset=koi8-r>", "UTF-8"},
      {"\xFF\xFE<\0h\0"s, "UTF-16LE"},
      {"\xFE\xFF\0<"s, "UTF-16BE"},
      {"<meta charset=\" Shift_JIS \">", "Shift_JIS"},
      {"<HEAD><META CHARSET=euc-jp>", "euc-jp"},
      {"<meta content='text/html; charset=ISO-8859-1' "
       "http-equiv='Content-Type'>",
       "ISO-8859-1"},
      {"<meta http-equiv=content-type content=\"text/html;charset='cp1252'\">", "cp1252"},
      {"<?xml version=\"1.0\" encoding='EUC-JP'?><meta charset=big5>", "EUC-JP"},
      {"<meta charset=\"utf-16\">", "UTF-8"},
      // Labels browsers do not know declare nothing; UTF-16's others mean
      // UTF-8 as its own name does.
      {"<meta charset=utf-32><meta charset=' KOI8-R '>", "KOI8-R"},
      {"<?xml version='1.0' encoding='UCS-4'?><meta charset=latin1>", "latin1"},
      {"<meta charset=ucs-2>", "UTF-8"},
      {"<meta http-equiv=Content-Type content='text/html; charset=unicode'>", "UTF-8"},
      {"<!-- <meta charset=koi8-r> --><meta charset=\"utf-8\">", "utf-8"},
      {"<meta name=x content=\"charset=big5\"><metadata charset=big5>", ""},
      {"<body><meta charset=koi8-r>", ""},
      {"<title>x</title><meta charset=\"big5", ""},
  };
  for (const auto& [head, charset] : cases) {
    EXPECT_EQ(Declared(head), charset) << head;
  }
}

// The charset and the robots tag come from one pass over the meta tags:
// neither may stop the search for the other, in either order.
TEST(ReadPageHead, FindsTheCharsetAndTheRobotsTagInEitherOrder) {
  const struct {
    std::string page;
    bool utf8;
    const char* title;
    bool noindex;
  } cases[] = {
      {"<meta name=robots content=noindex><meta charset=koi8-r>"
       "<title>\xF0</title>",
       true, "\xD0\x9F", true},
      {"<meta name=robots content=noindex><meta charset=koi8-r>"
       "<title>\xF0</title>",
       false, "\xF0", true},
      {"<meta charset=iso-8859-1><title>\xE9</title>"
       "<meta name=robots content=none></head>",
       true, "\xC3\xA9", true},
      {"<meta http-equiv=content-type content='text/html; charset=latin1'>"
       "<title>\xE9</title></head><meta name=robots content=noindex>",
       true, "\xC3\xA9", false},
      // A page labelled in a set its ASCII tags cannot be in is read as
      // its own bytes.
      {"<meta charset=ucs-2><title>T\xC3\xA9</title>", true, "T\xC3\xA9", false},
      {"<meta charset=UTF-32><title>Title</title>", true, "Title", false},
      // A NUL never reaches a page.
      {"<title>a\0b</title>"s, true,
       "a\xEF\xBF\xBD"
       "b",
       false},
      {"<title>a\0b\0</title>"s, false, "ab", false},
      {"\xFF\xFE<\0t\0i\0t\0l\0e\0>\0\0\0"s, true, kFffd, false},
  };
  MemoryFileSystem fs;
  const StopCheck observer;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    fs.AddFile("/p.html", c.page);
    const auto reader = fs.OpenFile("/p.html");
    ASSERT_TRUE(reader);
    const auto head = ReadPageHead(**reader, {true, c.utf8, true}, observer);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->title, c.title);
    EXPECT_EQ(head->noindex, c.noindex);
  }
}

TEST(TitleToUtf8, ConvertsFromTheDeclaredSetAndMarksWhatIsNoCharacter) {
  const struct {
    std::string title;
    const char* charset;
    std::string utf8;
  } cases[] = {
      {"\xE5\x65\x2C\x67", "UTF-16LE", kNihon},
      {"\x65\xE5\x67\x2C", "UTF-16BE", kNihon},
      // A lone surrogate is skipped as one unit, keeping the rest in step.
      {"\x00\xD8\x41\x00"s, "UTF-16LE", kFffd + "A"s},
      {"A\0B"s, "UTF-16LE", "A"s + kFffd},
      {"\x93\xFA\x96\x7B", "Shift_JIS", kNihon},
      {"\x87\x40", "shift_jis", "\xE2\x91\xA0"},  // circled 1, Windows-31J
      {"\xC6\xFC\xCB\xDC", "EUC-JP", kNihon},
      {"caf\xE9 \x93q\x94", "ISO-8859-1", "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D"},
      {"\x80\x81", "windows-1252", "\xE2\x82\xAC"s + kFffd},
      {"caf\xC3\xA9\xFF", "x-no-such-set", "caf\xC3\xA9"s + kFffd},
      {"\xFF", "../../etc/x", kFffd},
      {"\xC3", "", kFffd},
      // As browsers read labels: blanks and letter case aside, only those
      // they know, each to the set they decode it as.
      {"\xE9t\xE9", "\t Latin1 ", "\xC3\xA9t\xC3\xA9"},
      {"\xA4", "l9", "\xE2\x82\xAC"},
      {"\x93x\x94", "x-user-defined", "\xE2\x80\x9Cx\xE2\x80\x9D"},
      {"\xB0\xA1", "csgb2312", "\xE5\x95\x8A"},
      {"Title", "utf-32", "Title"},
      {"Title", "UCS-4", "Title"},
      {"<b>", "iso-2022-kr", kFffd},
      {"", "hz-gb-2312", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TitleToUtf8(c.title, c.charset), c.utf8) << c.charset;
  }
}

TEST(InvalidUtf8, ShowsEachMaximalBadSubsequenceAsOneReplacement) {
  const auto fffd = [](int times) {
    std::string text;
    while (times-- > 0) text += kFffd;
    return text;
  };
  const std::pair<std::string, std::string> cases[] = {
      {"a\xFF\x62", "a" + fffd(1) + "b"},
      {"\xF0\x9F\x98\x41", fffd(1) + "A"},
      {"\xE0\x80\xAF", fffd(3)},      // overlong
      {"\xED\xA0\x80", fffd(3)},      // surrogate
      {"\xF4\x90\x80\x80", fffd(4)},  // past U+10FFFF
      {"\xC0\xAF", fffd(2)},
      {"x\xE2\x82", "x" + fffd(1)},
      {kNihon + "\xC3\xA9"s, kNihon + "\xC3\xA9"s},
  };
  for (const auto& [text, shown] : cases) {
    std::string out;
    AppendReplacingInvalidUtf8(out, text);
    EXPECT_EQ(out, shown) << text;
    EXPECT_EQ(IsValidUtf8(text), text == shown) << text;
  }
}

// A UTF-16 page is decoded as it is read, so its title tag can be found.
TEST(PageDecoder, DecodesUtf16ReadInAnySizeOfChunk) {
  const std::string page = "\xFF\xFE<\0t\0>\0\xE5\x65\x2C\x67\x3D\xD8\x00\xDE<\0/\0t\0>\0X"s;
  const std::string expected = "<t>"s + kNihon + "\xF0\x9F\x98\x80</t>" + kFffd;
  for (const std::size_t chunk : {1, 3, 1000}) {
    SCOPED_TRACE(chunk);
    PageDecoder decoder("UTF-16LE");
    std::string decoded;
    for (std::size_t pos = 0; pos < page.size(); pos += chunk) {
      decoded += decoder.Decode(page.substr(pos, chunk));
    }
    decoded += decoder.Finish();
    EXPECT_EQ(decoded, expected) << chunk;
  }
}

}  // namespace
}  // namespace mapgen
