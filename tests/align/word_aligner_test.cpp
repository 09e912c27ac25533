// The word aligner on a small dictionary spelled out here: each word links to its own translation
// and to no other, at the right index, a sense phrase links each of its words and no neighbour,
// and empty sides give no links.
#include "align/word_aligner.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "align/cooccurrence.h"
#include "align/english_tokens.h"
#include "align/translation_summary.h"
#include "dictionary/dictionary_file.h"

namespace tamrel {
namespace {

// Sorted by the bytes of the headwords, as the dictionary file is.
const std::string kDictionary =
    "# Tamrel dictionary 1: test\n"
    "他\t\ttā\the; him\t\t\t1\t10\n"
    "去\t\tqù\tto go\t\t\t1\t40\n"
    "喜欢\t\txǐ huan\tto like; to be fond of\t\t\t1\t300\n"
    "奶酪\t\tnǎi lào\tcheese\t\t\t\t9000\n"
    "她\t\ttā\tshe\t\t\t1\t20\n"
    "我\t\twǒ\tI; me; my\t\t\t1\t1\n"
    "打算\t\tdǎ suàn\tto plan/to intend/plan\t\t\t2\t900\n"
    "是\t\tshì\tto be\t\t\t1\t5\n"
    "牛奶\t\tniú nǎi\tcow's milk/milk\t\t\t2\t3000\n"
    "要\t\tyào\tto want/to be going to\t\t\t1\t30\n";

std::string Links(const std::vector<AlignLink>& links) {
  std::string text;
  for (const AlignLink& l : links) {
    text += (text.empty() ? "" : " ") + std::to_string(l.chinese) + "-" + std::to_string(l.english);
  }
  return text;
}

class WordAlignerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dictionary_.Parse(kDictionary, "d.tsv").ok()); }
  std::string Align(std::string_view chinese, std::string_view english, const CooccurrenceTable* table = nullptr) {
    WordAligner aligner(dictionary_, table);
    return Links(aligner.Align(SplitTokens(chinese), SplitTokens(english)));
  }
  DictionaryFile dictionary_;
};

TEST_F(WordAlignerTest, LinksEachWordToItsOwnTranslation) {
  EXPECT_EQ(Align("我 喜欢 奶酪 。", "I like cheese ."), "0-0 1-1 2-2 3-3");
  // Inflected English meets the senses' base forms, and the order of the sentences differs.
  EXPECT_EQ(Align("奶酪 ， 她 喜欢 。", "She likes cheese ."), "0-2 2-0 3-1 4-3");
  // A pronoun's other forms meet its sense (him, my).
  EXPECT_EQ(Align("他 喜欢 我 的 奶酪", "He likes my cheese"), "0-0 1-1 2-2 4-3");
}

TEST_F(WordAlignerTest, TakesTheNearerOfTwoEqualWords) {
  EXPECT_EQ(Align("她 喜欢 奶酪 ， 他 喜欢 牛奶 。", "She likes cheese , he likes milk ."),
            "0-0 1-1 2-2 3-3 4-4 5-5 6-6 7-7");
  // One 奶酪 and two cheeses: the one beside "I like", where 奶酪 stands in its sentence.
  EXPECT_EQ(Align("我 喜欢 奶酪 。", "Cheese ? Yes , I like cheese ."), "0-4 1-5 2-6 3-7");
}

TEST_F(WordAlignerTest, LinksEveryWordOfASensePhraseAndNoNeighbour) {
  // 要 "to be going to" takes am going to (1-3); 去 "to go" then takes go, not going.
  EXPECT_EQ(Align("我 要 去 。", "I am going to go ."), "0-0 1-1 1-2 1-3 2-4 3-5");
  // The phrase's words apart are no phrase: of "going home to be", 要 links only the content
  // word going, not to and be.
  EXPECT_EQ(Align("我 要", "going home to be"), "1-0");
}

TEST_F(WordAlignerTest, ContractionsHoldTwoWordsAndIndexesCountTokensAsGiven) {
  EXPECT_EQ(Align("我 是 他 。", "I'm him ."), "0-0 1-0 2-1 3-2");
  // Extra spaces separate tokens no more than one does.
  EXPECT_EQ(Align("  我   喜欢  ", " I   like "), "0-0 1-1");
  // Identical tokens, full-width digits as ASCII ones; a possessive as its noun.
  EXPECT_EQ(Align("Tom 有 ３ 个", "Tom's 3 cats"), "0-0 2-1");
}

TEST_F(WordAlignerTest, EmptySidesGiveNoLinks) {
  EXPECT_EQ(Align("", "I like cheese"), "");
  EXPECT_EQ(Align("我 喜欢", ""), "");
  EXPECT_EQ(Align("", ""), "");
  // A side longer than any sentence (hostile input) gets no links rather than a long wait.
  std::string many;
  for (size_t i = 0; i <= WordAligner::kMaxWords; ++i) many += "我 ";
  EXPECT_EQ(Align(many, "I"), "");
}

TEST_F(WordAlignerTest, CooccurrenceFillsWhatTheDictionaryLacks) {
  CooccurrenceTable table;
  for (int i = 0; i < 3; ++i) {
    table.Add(SplitTokens("我 的 猫"), SplitEnglish("My cat."));
    table.Add(SplitTokens("猫 睡觉"), SplitEnglish("The cat sleeps."));
  }
  table.Add(SplitTokens("狗"), SplitEnglish("The dog."));
  EXPECT_EQ(Align("她 的 猫 。", "Her cat .", &table), "0-0 2-1 3-2");
  // A pair seen once is no evidence.
  EXPECT_EQ(Align("狗", "dog", &table), "");
  EXPECT_EQ(Align("狗", "dog", nullptr), "");
}

// The translations of a word over its sentences: counted by base form, the most frequent first,
// in both directions; a pair without the word counts for nothing.
TEST_F(WordAlignerTest, SummarisesTheTranslationsOfAWord) {
  const std::vector<SentencePair> pairs = {{"我 打算 去 。", "I plan to go."},
                                           {"他 打算 去 。", "He plans to go."},
                                           {"我 打算 去 。", "I intend to go."},
                                           {"我 喜欢 奶酪 。", "I like cheese, I plan cheese."}};
  CooccurrenceTable table;
  for (const SentencePair& p : pairs) table.Add(SplitTokens(p.chinese), SplitEnglish(p.english));
  WordAligner aligner(dictionary_, &table);
  const auto text = [](const std::vector<Translation>& list) {
    std::string out;
    for (const Translation& t : list) out += t.text + ":" + std::to_string(t.count) + " ";
    return out;
  };
  EXPECT_EQ(text(SummariseTranslations(aligner, "打算", pairs)), "plan:2 intend:1 ");
  EXPECT_EQ(text(SummariseTranslations(aligner, "plan", pairs)), "打算:2 ");
  EXPECT_EQ(text(SummariseTranslations(aligner, "打算", pairs, 1)), "plan:2 ");
  EXPECT_EQ(text(SummariseTranslations(aligner, "牛奶", pairs)), "");
}

TEST(EnglishTokensTest, SplitsPunctuationOffWordsOnly) {
  const std::vector<std::string> expected = {"\"", "Don't", "go", "!", "\"", "It's", "7:30", "."};
  EXPECT_EQ(SplitEnglish("\"Don't go!\" It's 7:30."), expected);
}

}  // namespace
}  // namespace tamrel
