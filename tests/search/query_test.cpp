#include "search/query.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "corpus/string_list.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using Terms = std::vector<std::u16string>;

// A segmentation dictionary holding "0" + each word (segmentation reads no file, so the index
// has no runtime folder and no posting offsets worth the name).
CorpusIndex Dictionary(std::initializer_list<std::u16string_view> words) {
  StringList keys;
  for (auto w : words) keys.push_back(u"0" + std::u16string(w));
  CorpusIndex index({}, u"MO");
  index.SetWordTable(keys, std::vector<uint64_t>(keys.size(), 0));
  return index;
}

TEST(DecideLanguageTest, FirstUnitDecides) {
  EXPECT_EQ(DecideLanguage(u"hello"), Language::kEnglish);
  EXPECT_EQ(DecideLanguage(u"Zoo 动物"), Language::kEnglish);
  EXPECT_EQ(DecideLanguage(u"我 like"), Language::kChinese);
  EXPECT_EQ(DecideLanguage(u"3D"), Language::kChinese);
  EXPECT_EQ(DecideLanguage(u" hello"), Language::kChinese);
  EXPECT_EQ(DecideLanguage(u"Élan"), Language::kChinese);
  EXPECT_EQ(DecideLanguage(u"ｈｉ"), Language::kChinese);
  EXPECT_EQ(DecideLanguage(u"@"), Language::kChinese);
  EXPECT_EQ(DecideLanguage(u"["), Language::kChinese);  // between Z and a
}

TEST(SegmentQueryTest, LongestMatchFirst) {
  const CorpusIndex dict = Dictionary({u"中华", u"中华人民", u"人民", u"共和国", u"共和"});
  EXPECT_EQ(SegmentQuery(dict, u"中华人民共和国"), u"中华人民 共和国 ");
  EXPECT_EQ(SegmentQuery(dict, u"人民中华"), u"人民 中华 ");
  EXPECT_EQ(SegmentQuery(dict, u"国"), u"国 ");
}

TEST(SegmentQueryTest, WordsOfSeveralDictionaries) {
  const CorpusIndex first = Dictionary({u"你", u"好"});
  const CorpusIndex second = Dictionary({u"你好", u"朋友"});
  EXPECT_EQ(SegmentQuery(first, u"你好朋友"), u"你 好 朋 友 ");
  EXPECT_EQ(SegmentQuery({&first, &second}, u"你好朋友"), u"你好 朋友 ");
  EXPECT_EQ(SegmentQuery({&second, &first}, u"你好朋友"), u"你好 朋友 ");
  EXPECT_EQ(SegmentQuery(std::vector<const CorpusIndex*>{}, u"你好"), u"你 好 ");
}

TEST(SegmentQueryTest, SingleUnitsWithoutLookup) {
  const CorpusIndex empty = Dictionary({});
  EXPECT_EQ(SegmentQuery(empty, u"一二三四五六七八九十百千"), u"一 二 三 四 五 六 七 八 九 十 百 千 ");
  // A surrogate pair is one character: both units make one word.
  EXPECT_EQ(SegmentQuery(empty, u"\U00020000"), u"\U00020000 ");
  EXPECT_EQ(SegmentQuery(empty, u"一\U0001F600\U0001F600二"), u"一 \U0001F600 \U0001F600 二 ");
  // Lone halves are characters of their own.
  EXPECT_EQ(SegmentQuery(empty, u"\xDC00\xD840"), u"\xDC00 \xD840 ");
}

TEST(SegmentQueryTest, AstralCharacterBetweenWordsStaysWhole) {
  const CorpusIndex dict = Dictionary({u"我们", u"朋友", u"好\U0001F44D"});
  EXPECT_EQ(SegmentQuery(dict, u"我们\U0001F600朋友"), u"我们 \U0001F600 朋友 ");
  // A dictionary word holding a pair is found whole.
  EXPECT_EQ(SegmentQuery(dict, u"好\U0001F44D好"), u"好\U0001F44D 好 ");
}

TEST(SegmentQueryTest, NoCandidateEndsInsideAPair) {
  // Keys ending in half a pair: matching one would cut the character in two.
  const CorpusIndex dict = Dictionary({u"中\xD83D", u"甲乙丙丁戊己庚辛壬\xD83D"});
  EXPECT_EQ(SegmentQuery(dict, u"中\U0001F44D国"), u"中 \U0001F44D 国 ");
  // The ten-unit cap falls inside the pair: the candidate stops before it.
  EXPECT_EQ(SegmentQuery(dict, u"甲乙丙丁戊己庚辛壬\U0001F44D"), u"甲 乙 丙 丁 戊 己 庚 辛 壬 \U0001F44D ");
}

TEST(SegmentQueryTest, TenUnitCap) {
  const std::u16string ten = u"甲乙丙丁戊己庚辛壬癸";
  const std::u16string eleven = ten + u"子";
  EXPECT_EQ(SegmentQuery(Dictionary({ten}), ten + u"子"), ten + u" 子 ");
  // An eleven-unit dictionary word is never found whole.
  EXPECT_EQ(SegmentQuery(Dictionary({eleven, u"甲乙"}), eleven), u"甲乙 丙 丁 戊 己 庚 辛 壬 癸 子 ");
}

TEST(SegmentQueryTest, LengthsTriedFollowTheCurrentWordTable) {
  // Only lengths up to the longest word beginning with a character are looked up; a replaced word
  // table must bring its own lengths, or the longer words of the new one would be missed.
  CorpusIndex dict = Dictionary({u"天", u"天气"});
  EXPECT_EQ(SegmentQuery(dict, u"天气预报"), u"天气 预 报 ");
  StringList keys;
  keys.push_back(u"0天气预报");
  keys.push_back(u"2weather");
  dict.SetWordTable(keys, {0, 0});
  EXPECT_EQ(dict.LongestChineseKeyFrom(u'天'), 4u);
  EXPECT_EQ(dict.LongestChineseKeyFrom(u'w'), 0u);  // English keys do not count
  EXPECT_EQ(SegmentQuery(dict, u"天气预报天气"), u"天气预报 天 气 ");
  dict.SetWordTable(StringList{}, {});
  EXPECT_EQ(SegmentQuery(dict, u"天气"), u"天 气 ");
}

TEST(SegmentQueryTest, SpacesAndLatinLetters) {
  const CorpusIndex dict = Dictionary({u"我们", u"OK", u"A4纸"});
  EXPECT_EQ(SegmentQuery(dict, u"我们 看"), u"我们   看 ");
  EXPECT_EQ(SegmentQuery(dict, u"我们OK"), u"我们 OK ");
  EXPECT_EQ(SegmentQuery(dict, u"我们hi"), u"我们 h i ");
  EXPECT_EQ(SegmentQuery(dict, u"A4纸"), u"A4纸 ");
  EXPECT_EQ(SegmentQuery(dict, u" "), u"  ");
}

TEST(NormaliseQueryTest, RunsAndTrailingSpace) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"hello   world  again ", u"hello world again"},
      {u"a    b", u"a b"},
      {u"  a", u" a"},
      {u" ", u""},
      {u"  ", u""},
      {u"ab", u"ab"},
      {u"我们   看 ", u"我们 看"},
      {u"a\t b", u"a\t b"},
      {u"a\u3000\u3000b", u"a\u3000\u3000b"},
  };
  for (const auto& [in, out] : cases) {
    std::u16string q = in;
    NormaliseQuery(q);
    EXPECT_EQ(q, out);
  }
}

TEST(SplitTermsTest, SpacesEndTerms) {
  EXPECT_EQ(SplitTerms(u"hello world"), (Terms{u"hello", u"world"}));
  EXPECT_EQ(SplitTerms(u" a"), (Terms{u"", u"a"}));
  EXPECT_EQ(SplitTerms(u""), Terms{});
}

TEST(TermKeyTest, EnglishAndChineseTerms) {
  const auto check = [](std::u16string_view term, std::u16string_view key, std::u16string_view normalised) {
    const TermKeyResult r = TermKey(term);
    EXPECT_EQ(r.key, key) << Utf16ToUtf8(term);
    EXPECT_EQ(r.normalised, normalised);
    EXPECT_EQ(NormalisedTermKey(r.normalised), r.key);
  };
  check(u"Hello", u"2hello", u"hello");
  check(u"world,", u"2world", u"world");
  check(u"end.\"", u"2end.", u"end.");
  check(u"mp3", u"2mp", u"mp");
  check(u"B", u"2b", u"b");
  check(u"3D", u"03D", u"3D");
  check(u"我们", u"0我们", u"我们");
  check(u"Ärger", u"0Ärger", u"Ärger");
  check(u"ＡＢ", u"0ＡＢ", u"ＡＢ");
  check(u"", u"0", u"");
}

}  // namespace
}  // namespace tamrel
