#include "text/text_utils.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tamrel {
namespace {

using Fields = FieldList;

TEST(SplitStringTest, EmptyFieldRules) {
  EXPECT_EQ(SplitString(u"a b", u" "), (Fields{u"a", u"b"}));
  EXPECT_EQ(SplitString(u"a  b", u" "), (Fields{u"a", u"", u"b"}));
  EXPECT_EQ(SplitString(u" a", u" "), (Fields{u"", u"a"}));
  EXPECT_EQ(SplitString(u"a ", u" "), (Fields{u"a"}));
  EXPECT_EQ(SplitString(u"", u" "), Fields{});
  EXPECT_EQ(SplitString(u"abc", u" "), (Fields{u"abc"}));
  EXPECT_EQ(SplitString(u"a:b:c", u":"), (Fields{u"a", u"b", u"c"}));
  EXPECT_EQ(SplitString(u" ", u" "), (Fields{u""}));
  EXPECT_EQ(SplitString(u"  ", u" "), (Fields{u"", u""}));
}

TEST(SplitStringTest, DelimiterMatchedWhole) {
  EXPECT_EQ(SplitString(u"x##y", u"##"), (Fields{u"x", u"y"}));
  EXPECT_EQ(SplitString(u"x#y", u"##"), (Fields{u"x#y"}));
  EXPECT_EQ(SplitString(u"##", u"##"), (Fields{u""}));
  EXPECT_EQ(SplitString(u"a###b", u"##"), (Fields{u"a", u"#b"}));
  EXPECT_EQ(SplitString(u"K##FALSE##", u"##"), (Fields{u"K", u"FALSE"}));
  EXPECT_EQ(SplitString(u"K##FALSE##x", u"##"), (Fields{u"K", u"FALSE", u"x"}));
  EXPECT_EQ(SplitString(u"我\t0:1", u"\t"), (Fields{u"我", u"0:1"}));
}

TEST(NormaliseWordTest, FoldsAsciiAndDropsOneTrailingNonLetter) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"Apple.", u"apple"}, {u"Hello", u"hello"}, {u"CAT", u"cat"}, {u"end?!", u"end?"},
      {u"7", u""},           {u"", u""},           {u"mp3", u"mp"},  {u"don't", u"don't"},
      {u"Ärger", u"Ärger"},  {u"ＡＢ", u"Ａ"},     {u"x\"", u"x"},   {u"Z", u"z"},
  };
  for (const auto& [in, out] : cases) {
    std::u16string w = in;
    NormaliseWord(w);
    EXPECT_EQ(w, out);
  }
}

TEST(NormaliseWordTest, DropsATrailingSurrogatePairWhole) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"sushi\U0001F44D", u"sushi"},                // U+1F44D: the whole pair goes
      {u"\U0001F44D", u""},                          // nothing is left, not half a pair
      {u"OK\U0001F44D\U0001F44D", u"ok\U0001F44D"},  // only the last character
      {u"a\U00020000", u"a"},                        // a supplementary ideograph likewise
      {u"a\xD83D", u"a"},                            // a lone high surrogate is one character
      {u"a\xDC4D", u"a"},                            // and so is a lone low one
      {u"\xDC4D\xDC4D", u"\xDC4D"},                  // two low halves are no pair
      {u"\U0001F44Dx", u"\U0001F44Dx"},              // ends in a letter: kept
  };
  for (const auto& [in, out] : cases) {
    std::u16string w = in;
    NormaliseWord(w);
    EXPECT_EQ(w, out) << Utf16ToUtf8(in);
  }
}

TEST(ParseDecimalTest, LeadingSpaceSignDigitsAndClamping) {
  EXPECT_EQ(ParseDecimal(u" 42abc"), 42);
  EXPECT_EQ(ParseDecimal(u"abc"), 0);
  EXPECT_EQ(ParseDecimal(u"-7"), -7);
  EXPECT_EQ(ParseDecimal(u"+8"), 8);
  EXPECT_EQ(ParseDecimal(u""), 0);
  EXPECT_EQ(ParseDecimal(u"-"), 0);
  EXPECT_EQ(ParseDecimal(u"- 5"), 0);
  EXPECT_EQ(ParseDecimal(u"007"), 7);
  EXPECT_EQ(ParseDecimal(u" \t\n\v\f\r9"), 9);
  EXPECT_EQ(ParseDecimal(u"\u00A09"), 0);  // no-break space is not skipped
  EXPECT_EQ(ParseDecimal(u"\u30009"), 0);  // nor the ideographic space
  EXPECT_EQ(ParseDecimal(u"\u0661"), 0);   // nor are non-ASCII digits read
  EXPECT_EQ(ParseDecimal(u"2147483647"), INT32_MAX);
  EXPECT_EQ(ParseDecimal(u"2147483648"), INT32_MAX);
  EXPECT_EQ(ParseDecimal(u"99999999999999999999999"), INT32_MAX);
  EXPECT_EQ(ParseDecimal(u"-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseDecimal(u"-2147483649"), INT32_MIN);
  EXPECT_EQ(ParseDecimal(u"-99999999999999999999999"), INT32_MIN);
  EXPECT_EQ(ParseDecimal(u"1:2"), 1);
}

TEST(FormatDecimalTest, PlainDecimal) {
  EXPECT_EQ(FormatDecimal(0), u"0");
  EXPECT_EQ(FormatDecimal(12), u"12");
  EXPECT_EQ(FormatDecimal(-305), u"-305");
  EXPECT_EQ(FormatDecimal(4294967296), u"4294967296");
}

TEST(Utf8ToUtf16Test, WellFormed) {
  EXPECT_EQ(Utf8ToUtf16("a\xE6\x88\x91\xF0\x9F\x98\x80"), u"a我\U0001F600");
  EXPECT_EQ(Utf8ToUtf16(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(Utf8ToUtf16Test, OneReplacementPerMaximalIllFormedSubpart) {
  EXPECT_EQ(Utf8ToUtf16("\xE0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98"
                        "A"),
            u"\uFFFDA");
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\x80"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xE6\x88"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");  // beyond U+10FFFF
  EXPECT_EQ(Utf8ToUtf16("\xFF"
                        "b"),
            u"\uFFFDb");
}

TEST(Utf16ToUtf8Test, UnpairedSurrogateBecomesReplacement) {
  EXPECT_EQ(Utf16ToUtf8(u"a我\U0001F600"), "a\xE6\x88\x91\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', char16_t(0xD800), u'b'}),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xD83D)}), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(u""), "");
}

TEST(StrictUtf8ToUtf16Test, WellFormedOnlyElseRefused) {
  std::u16string out = u"old";
  EXPECT_TRUE(StrictUtf8ToUtf16("a\xE4\xBD\xA0\xF0\xA0\x80\x80", out));
  EXPECT_EQ(out, u"a你\U00020000");
  EXPECT_TRUE(StrictUtf8ToUtf16("", out));
  EXPECT_EQ(out, u"");
  struct Case {
    const char* bytes;
    const char* what;
  };
  for (const Case& k : {Case{"\x80", "a stray continuation byte"}, Case{"\xE4\xBD", "a cut sequence"},
                        Case{"\xC0\xAF", "an overlong form"}, Case{"\xE0\x80\xAF", "an overlong form of three"},
                        Case{"\xED\xA0\x80", "a surrogate"}, Case{"\xF4\x90\x80\x80", "beyond U+10FFFF"},
                        Case{"\xE4\x41\xA0", "a missing continuation byte"}, Case{"\xFF", "no UTF-8 byte"}}) {
    EXPECT_FALSE(StrictUtf8ToUtf16(k.bytes, out)) << k.what;
  }
}

}  // namespace
}  // namespace tamrel
