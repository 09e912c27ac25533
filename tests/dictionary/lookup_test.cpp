// The pinyin and English look-ups on a small dictionary spelled out here: every notation of
// pinyin finds the same words, counts and frequency order them, and English ranks the sense
// that is the word itself above longer and later ones.
#include <gtest/gtest.h>

#include <string>

#include "dictionary/dictionary.h"

namespace tamrel {
namespace {

const std::string kDictionary =
    "# Tamrel dictionary 1: test\n"
    "事\t\tshì\tmatter; thing; item\t\t\t1\t80\n"
    "你好\t\tnǐ hǎo\thello; hi\t\t\t1\t2000\n"
    "先\t\txiān\tearly; prior; former\t\t\t2\t300\n"
    "学习\t學習\txué xí\tto learn/to study\t\t\t1\t583\n"
    "是\t\tshì\tis; are; am\t\t\t1\t5\n"
    "眼\t\tyǎn\t(of eyes) bright/eye\t\t\t1\t600\n"
    "研究\t\tyán jiū\tresearch/to study; to research\t\t\t2\t1500\n"
    "苹果\t蘋果\tpíng guǒ\tapple\t\t\t3\t5692\n"
    "苹果\t蘋果\tPíng guǒ\tApple (American tech company)\t\t\t\t5692\n"
    "苹果酱\t\tpíng guǒ jiàng\tapple sauce\t\t\t\t90000\n"
    "西安\t\tXī ān\tXi'an, capital of Shaanxi\t\t\t\t3000\n"
    "试\t\tshì\tto test; to try\t\t\t2\t700\n"
    "读书\t\tdú shū\tto read a book/to study/to attend school\t\t\t1\t900\n";

std::vector<std::u16string> Words(const std::vector<DictionaryEntry>& entries) {
  std::vector<std::u16string> words;
  for (const DictionaryEntry& e : entries) words.push_back(e.simplified);
  return words;
}

class LookupTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dictionary_.Parse(kDictionary, "d.tsv").ok()); }
  std::vector<std::u16string> Pinyin(std::u16string_view text, const SentenceCount& count = {}) {
    std::vector<DictionaryEntry> entries;
    EXPECT_TRUE(dictionary_.LookUpPinyin(text, count, entries).ok());
    return Words(entries);
  }
  std::vector<std::u16string> English(std::u16string_view text) {
    std::vector<DictionaryEntry> entries;
    EXPECT_TRUE(dictionary_.LookUpEnglish(text, 10, entries).ok());
    return Words(entries);
  }
  Dictionary dictionary_;
};

TEST_F(LookupTest, EveryPinyinNotationFindsTheWord) {
  for (const std::u16string_view text : {u"nǐhǎo", u"ni3hao3", u"ni3 hao3", u"ni hao", u"nihao", u"NiHao"}) {
    EXPECT_EQ(Pinyin(text), std::vector<std::u16string>{u"你好"}) << std::string(text.begin(), text.end());
  }
  EXPECT_TRUE(Pinyin(u"ni2hao3").empty());  // a tone typed must match
  EXPECT_TRUE(Pinyin(u"hello world").empty());
}

TEST_F(LookupTest, PinyinReadingsCommonestFirst) {
  // By frequency rank without counts, by the caller's sentence counts with them.
  EXPECT_EQ(Pinyin(u"shi4"), (std::vector<std::u16string>{u"是", u"事", u"试"}));
  const auto count = [](std::u16string_view word) { return word == u"试" ? 7u : word == u"事" ? 3u : 0u; };
  EXPECT_EQ(Pinyin(u"shi4", count), (std::vector<std::u16string>{u"试", u"事", u"是"}));
  // Common words before a proper noun of the same reading.
  EXPECT_EQ(Pinyin(u"pingguo"), (std::vector<std::u16string>{u"苹果", u"苹果"}));
  EXPECT_EQ(Pinyin(u"xian"), std::vector<std::u16string>{u"先"});
  EXPECT_EQ(Pinyin(u"xi'an"), std::vector<std::u16string>{u"西安"});
}

TEST_F(LookupTest, EnglishRanksTheCentralSenseFirst) {
  // "apple" alone before "apple sauce" and the company; the first sense before a later one.
  EXPECT_EQ(English(u"apple"), (std::vector<std::u16string>{u"苹果", u"苹果", u"苹果酱"}));
  EXPECT_EQ(English(u"Apple").front(), u"苹果");
  // "to study" in the second sense of both: the more frequent word first; then one whose sense
  // part holds more words.
  EXPECT_EQ(English(u"study"), (std::vector<std::u16string>{u"学习", u"读书", u"研究"}));
  EXPECT_EQ(English(u"hello"), std::vector<std::u16string>{u"你好"});
  // Only inside a parenthesis, a word ranks below a sense that is the word.
  EXPECT_EQ(English(u"eye"), std::vector<std::u16string>{u"眼"});
  EXPECT_TRUE(English(u"ey").empty());  // whole words only
  EXPECT_TRUE(English(u"").empty());
}

TEST_F(LookupTest, EnglishFindsBaseForms) {
  EXPECT_EQ(English(u"apples").front(), u"苹果");
  EXPECT_EQ(English(u"studied").front(), u"学习");
}

TEST_F(LookupTest, EnglishPhrases) { EXPECT_EQ(English(u"apple sauce"), std::vector<std::u16string>{u"苹果酱"}); }

}  // namespace
}  // namespace tamrel
