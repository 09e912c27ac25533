#include "learning/word_test_engine.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::SentenceGroup;

constexpr Level kLevels[] = {Level::kBeginner, Level::kNormal, Level::kExpert};

WordTestEngine::TickSource FixedTick(uint32_t tick) {
  return [tick] { return tick; };
}

// A runtime folder holding one bilingual corpus, loaded.
class QuizFixture : public ::testing::Test {
 protected:
  void Build(const std::vector<SentenceGroup>& groups, const std::vector<std::string>& chineseFirst = {}) {
    const Status built = test::WriteCorpus(folder_.path(), u"BI", groups, chineseFirst);
    ASSERT_TRUE(built.ok()) << built.ToString();
    const Status loaded = LoadCorpus(corpus_);
    ASSERT_TRUE(loaded.ok()) << loaded.ToString();
  }

  // Words "词0".."词<count-1>" with readings "cí0a".., each in its own sentence of four tokens
  // whose other tokens are single characters (never asked above level 0) and never pooled.
  void BuildWordSentences(int count) {
    std::vector<SentenceGroup> groups;
    std::vector<std::string> order;
    for (int k = 0; k < count; ++k) {
      const std::string n = std::to_string(k);
      groups.push_back({"词" + n + " 了 吗 呢", "cí" + n + "a le ma ne", "Word " + n + " indeed"});
      order.push_back("词" + n);
    }
    Build(groups, order);
  }

  test::RuntimeFolder folder_;
  CorpusIndex corpus_{folder_.path(), u"BI"};
};

TEST(QuizRandomTest, FollowsThePlatformGenerator) {
  QuizRandom random;
  random.Seed(1);
  EXPECT_EQ(random.Draw(), 41);
  EXPECT_EQ(random.Draw(), 18467);
  EXPECT_EQ(random.Draw(), 6334);
  random.Seed(0);
  EXPECT_EQ(random.Draw(), 38);
}

TEST(WordTestEngineTest, PoolsStartWithTheirFixedEntries) {
  const CorpusIndex empty;  // scoring and the pools read no corpus
  WordTestEngine engine(empty, FixedTick(1));
  ASSERT_EQ(engine.hanziPool().size(), 6u);
  EXPECT_EQ(engine.hanziPool().front(), u"美国");
  EXPECT_EQ(engine.hanziPool().back(), u"眼睛");
  ASSERT_EQ(engine.pinyinPool().size(), 7u);
  EXPECT_EQ(engine.pinyinPool().front(), u"zài");
  EXPECT_EQ(engine.pinyinPool().back(), u"xīnhuāshē");
}

TEST(WordTestEngineTest, PoolKeepsFiftyOneNewestFirst) {
  std::deque<std::u16string> pool = {u"a0", u"a1", u"a2"};
  for (int i = 0; i < 60; ++i) WordTestEngine::InsertIntoPool(pool, FormatDecimal(i));
  ASSERT_EQ(pool.size(), kPoolCapacity);
  EXPECT_EQ(pool.front(), u"59");
  EXPECT_EQ(pool.back(), u"9");  // the first entries left from the back
}

TEST(WordTestEngineTest, ExampleCheckedAtOnceWithAIsRight) {
  const CorpusIndex empty;  // scoring and the pools read no corpus
  WordTestEngine engine(empty, FixedTick(1));
  const WordTestScore score = engine.Check(0);
  EXPECT_EQ(score.letter, u"A");
  EXPECT_EQ(score.verdict, u"Correct!! :-)");
  EXPECT_EQ(score.counts, u"1/1");
  EXPECT_EQ(score.percentage, u"100.00");
  EXPECT_EQ(score.meter, 10);
}

TEST(WordTestEngineTest, TwoRightOfThree) {
  const CorpusIndex empty;  // scoring and the pools read no corpus
  WordTestEngine engine(empty, FixedTick(1));
  engine.Check(0);
  engine.Check(2);
  const WordTestScore score = engine.Check(0);
  EXPECT_EQ(score.counts, u"2/3");
  EXPECT_EQ(score.percentage, u"66.67");
  EXPECT_EQ(score.meter, 6);
}

TEST(WordTestEngineTest, NoneRightOfOne) {
  const CorpusIndex empty;  // scoring and the pools read no corpus
  WordTestEngine engine(empty, FixedTick(1));
  const WordTestScore score = engine.Check(3);
  EXPECT_EQ(score.verdict, u"Wrong!!!! :-(");
  EXPECT_EQ(score.letter, u"A");
  EXPECT_EQ(score.counts, u"0/1");
  EXPECT_EQ(score.percentage, u"0.00");
  EXPECT_EQ(score.meter, 0);
}

TEST(WordTestEngineTest, LevelMeterPositions) {
  EXPECT_EQ(WordTestEngine::LevelMeterPosition(Level::kBeginner), 0);
  EXPECT_EQ(WordTestEngine::LevelMeterPosition(Level::kNormal), 1);
  EXPECT_EQ(WordTestEngine::LevelMeterPosition(Level::kExpert), 2);
}

TEST_F(QuizFixture, LevelOneShowsBothLinesWithTheBlank) {
  BuildWordSentences(1000);
  WordTestEngine engine(corpus_, FixedTick(12345));
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kNormal, Direction::kHanziToPinyin);
  ASSERT_TRUE(q.has_value());
  // Positions 200..999 hold the words 词200..词999.
  const std::u16string number = q->word.substr(1);
  EXPECT_GE(ParseDecimal(std::u16string_view(number)), 200);
  EXPECT_EQ(q->questionLine, u"[_" + q->word + u"_] 了 吗 呢 ");
  EXPECT_EQ(q->sentenceLine, u"[_" + q->word + u"_] le ma ne ");
  EXPECT_EQ(q->rightPinyin, u"cí" + number + u"a");
  EXPECT_EQ(q->choices[static_cast<size_t>(q->answerIndex)], q->rightPinyin);
  EXPECT_EQ(engine.answerIndex(), q->answerIndex);
}

TEST_F(QuizFixture, PinyinToHanziBlanksWithThePinyin) {
  BuildWordSentences(1000);
  WordTestEngine engine(corpus_, FixedTick(777));
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kNormal, Direction::kPinyinToHanzi);
  ASSERT_TRUE(q.has_value());
  EXPECT_EQ(q->questionLine, u"[_" + q->rightPinyin + u"_] 了 吗 呢 ");
  EXPECT_EQ(q->sentenceLine, u"[_" + q->rightPinyin + u"_] le ma ne ");
  EXPECT_EQ(q->choices[static_cast<size_t>(q->answerIndex)], q->word);
}

TEST_F(QuizFixture, LevelZeroShowsTheWordAlone) {
  BuildWordSentences(1000);
  WordTestEngine engine(corpus_, FixedTick(99));
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin);
  ASSERT_TRUE(q.has_value());
  EXPECT_LT(ParseDecimal(std::u16string_view(q->word).substr(1)), 200);
  EXPECT_EQ(q->questionLine, q->word);
  EXPECT_EQ(q->sentenceLine, u"");
  const std::optional<WordTestQuestion> p = engine.NextQuestion(Level::kBeginner, Direction::kPinyinToHanzi);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->questionLine, p->rightPinyin);
  EXPECT_EQ(p->sentenceLine, u"");
}

TEST_F(QuizFixture, ExpertDrawsFromPositionOneThousandOn) {
  BuildWordSentences(1200);
  WordTestEngine engine(corpus_, FixedTick(4242));
  for (int i = 0; i < 5; ++i) {
    const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kExpert, Direction::kHanziToPinyin);
    ASSERT_TRUE(q.has_value());
    EXPECT_GE(ParseDecimal(std::u16string_view(q->word).substr(1)), 1000);
  }
}

TEST_F(QuizFixture, RepeatedWordIsBlankedTwiceWithTheLastPinyin) {
  // Only 好 can be asked: the digits' readings are digits, and 。 is not in the word list.
  Build({{"好 1 好 2 。", "hǎo 1 hào 2 。", "Good one good two."}}, {"好"});
  WordTestEngine engine(corpus_, FixedTick(5));
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, Direction::kPinyinToHanzi);
  ASSERT_TRUE(q.has_value());
  EXPECT_EQ(q->word, u"好");
  EXPECT_EQ(q->rightPinyin, u"hào");
  EXPECT_EQ(q->questionLine, u"hào");
}

TEST_F(QuizFixture, RepeatedWordLinesAtLevelOne) {
  std::vector<SentenceGroup> groups;
  std::vector<std::string> order;
  for (int k = 0; k < 1000; ++k) {
    const std::string n = std::to_string(k);
    groups.push_back({"词" + n + " 1 词" + n + " 2", "cí" + n + "a 1 cí" + n + "b 2", "Twice."});
    order.push_back("词" + n);
  }
  Build(groups, order);
  WordTestEngine engine(corpus_, FixedTick(31));
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kNormal, Direction::kPinyinToHanzi);
  ASSERT_TRUE(q.has_value());
  const std::u16string n = q->word.substr(1);
  EXPECT_EQ(q->rightPinyin, u"cí" + n + u"b");
  EXPECT_EQ(q->questionLine, u"[_cí" + n + u"a_] 1 [_cí" + n + u"b_] 2 ");
  EXPECT_EQ(q->sentenceLine, q->questionLine);
}

TEST_F(QuizFixture, SentencesOfThreeOrSixteenTokensAreNeverUsed) {
  // 好 reads differently in each sentence, so the right pinyin names the sentence used.
  Build({{"好 1 2", "hǎoa 1 2", "Three."},
         {"好 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", "hǎob 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", "Sixteen."},
         {"好 1 2 3", "hǎoc 1 2", "Counts differ."},
         {"好 1 2 3", "hǎod 1 2 3", "Four."}},
        {"好"});
  for (uint32_t tick = 1; tick < 30; ++tick) {
    WordTestEngine engine(corpus_, FixedTick(tick * 7919));
    const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin);
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(q->rightPinyin, u"hǎod");
  }
}

TEST_F(QuizFixture, PoolsTakeEveryThirdTokenWithALongReading) {
  // Every word of the list can be asked, and every attempt that reaches the sentence succeeds,
  // so the pools grow once, by the tokens at 0, 3, 6, 9 other than the word asked.
  const std::vector<std::u16string> hanzi = {u"好", u"甲", u"乙", u"丙", u"丁", u"戊", u"己", u"庚", u"辛", u"壬"};
  const std::vector<std::u16string> pinyin = {u"hǎo", u"jiǎ", u"yǐ",   u"bǐng", u"dīng",
                                              u"wù",  u"jǐ",  u"gēng", u"xīn",  u"rén"};
  Build({{"好 甲 乙 丙 丁 戊 己 庚 辛 壬", "hǎo jiǎ yǐ bǐng dīng wù jǐ gēng xīn rén", "Ten."}}, {"好"});
  WordTestEngine engine(corpus_, FixedTick(3));
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin);
  ASSERT_TRUE(q.has_value());
  std::deque<std::u16string> expectedPinyin(engine.pinyinPool().end() - 7, engine.pinyinPool().end());
  std::deque<std::u16string> expectedHanzi(engine.hanziPool().end() - 6, engine.hanziPool().end());
  for (size_t j = 0; j < hanzi.size(); j += 3) {
    if (hanzi[j] == q->word || pinyin[j].size() < 3) continue;  // 己 jǐ is too short
    expectedPinyin.push_front(pinyin[j]);
    expectedHanzi.push_front(hanzi[j]);
  }
  EXPECT_EQ(engine.pinyinPool(), expectedPinyin);
  EXPECT_EQ(engine.hanziPool(), expectedHanzi);
  EXPECT_EQ(engine.pinyinPool().back(), u"xīnhuāshē");
}

TEST_F(QuizFixture, ReadingStartingWithADigitIsNotPooled) {
  Build({{"好 1 2 丙 4", "hǎo 1 2 3bing 4", "Digits."}}, {"好"});
  for (uint32_t tick = 1; tick < 20; ++tick) {
    WordTestEngine engine(corpus_, FixedTick(tick * 104729));
    ASSERT_TRUE(engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin).has_value());
    const auto& pool = engine.pinyinPool();
    EXPECT_EQ(std::count(pool.begin(), pool.end(), u"3bing"), 0);
    EXPECT_EQ(std::count(engine.hanziPool().begin(), engine.hanziPool().end(), u"丙"), 0);
  }
}

TEST_F(QuizFixture, FourDifferentChoicesWithOneRight) {
  BuildWordSentences(1200);
  uint32_t tick = 0;
  WordTestEngine engine(corpus_, [&tick] { return tick += 977; });
  for (int i = 0; i < 30; ++i) {
    const Direction direction = i % 2 == 0 ? Direction::kHanziToPinyin : Direction::kPinyinToHanzi;
    const std::optional<WordTestQuestion> q = engine.NextQuestion(kLevels[i % 3], direction);
    ASSERT_TRUE(q.has_value());
    const std::u16string& right = direction == Direction::kHanziToPinyin ? q->rightPinyin : q->word;
    const std::set<std::u16string> distinct(q->choices.begin(), q->choices.end());
    EXPECT_EQ(distinct.size(), 4u);
    EXPECT_EQ(std::count(q->choices.begin(), q->choices.end(), right), 1);
    EXPECT_EQ(q->choices[static_cast<size_t>(q->answerIndex)], right);
  }
}

// Fault: the question search had no bound and never ended when no position of the level could
// yield a question. It now gives up after kMaxQuestionAttempts.
TEST_F(QuizFixture, QuestionSearchIsBounded) {
  Build({{"好 1 2", "hǎo 1 2", "Three tokens only."}}, {"好"});
  WordTestEngine engine(corpus_, FixedTick(8));
  EXPECT_FALSE(engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin).has_value());
}

// The 0-based draw at which a beginner question first lands on position 0, seeded with `tick`;
// `limit` when none of the first `limit` draws does. A position past the end of the word list
// fails the attempt after that one draw.
int FirstDrawOfPositionZero(uint32_t tick, int limit) {
  QuizRandom random;
  random.Seed(tick);
  for (int draw = 0; draw < limit; ++draw) {
    if (random.Draw() % 200 == 0) return draw;
  }
  return limit;
}

// The first tick whose first draw of position 0 lies in [low, high).
uint32_t TickLandingAt(int low, int high) {
  for (uint32_t tick = 1;; ++tick) {
    const int draw = FirstDrawOfPositionZero(tick, high);
    if (draw >= low && draw < high) return tick;
  }
}

// With one askable word, at position 0, every attempt that draws another position fails; so the
// attempt that succeeds is the first draw of position 0, and a search that would only reach it
// past kMaxQuestionAttempts finds nothing. The filler tokens are not in the word list.
TEST_F(QuizFixture, QuestionSearchStopsAtTheMaximumAttempts) {
  Build({{"好 。 、 「", "hǎo 。 、 「", "Good."}}, {"好"});
  ASSERT_EQ(corpus_.chineseWords().size(), 1u);

  const uint32_t late = TickLandingAt(kMaxQuestionAttempts - 10, kMaxQuestionAttempts);
  WordTestEngine lateEngine(corpus_, FixedTick(late));
  const std::optional<WordTestQuestion> q = lateEngine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin);
  ASSERT_TRUE(q.has_value());
  EXPECT_EQ(q->attempts, FirstDrawOfPositionZero(late, kMaxQuestionAttempts) + 1);
  EXPECT_EQ(q->word, u"好");

  const uint32_t tooLate = TickLandingAt(kMaxQuestionAttempts, kMaxQuestionAttempts + 10);
  WordTestEngine tooLateEngine(corpus_, FixedTick(tooLate));
  EXPECT_FALSE(tooLateEngine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin).has_value());
}

TEST_F(QuizFixture, NormalLevelOnAShortWordListFindsNothing) {
  BuildWordSentences(150);
  WordTestEngine engine(corpus_, FixedTick(8));
  EXPECT_FALSE(engine.NextQuestion(Level::kNormal, Direction::kHanziToPinyin).has_value());
  EXPECT_TRUE(engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin).has_value());
}

// Fault: the draw of wrong choices never ended once a pool held fewer than four different
// entries besides the right answer. It is bounded and completed from the corpus.
// Every attempt pools only the token at 3: 「 (not in the word list, so never asked) read hǎo;
// the token at 0 has a digit reading.
const SentenceGroup kPoolingSentence = {"1 我们 2 「 3", "1 wǒmen 2 hǎo 3", "Us."};

TEST_F(QuizFixture, WrongChoicesAreCompletedFromARepeatedPool) {
  Build({kPoolingSentence}, {"我们"});
  uint32_t tick = 0;
  WordTestEngine engine(corpus_, [&tick] { return ++tick; });
  for (int i = 0; i < 60; ++i)
    ASSERT_TRUE(engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin).has_value());
  ASSERT_EQ(std::set<std::u16string>(engine.pinyinPool().begin(), engine.pinyinPool().end()).size(), 1u);
  ASSERT_EQ(std::set<std::u16string>(engine.hanziPool().begin(), engine.hanziPool().end()).size(), 1u);

  for (Direction direction : {Direction::kHanziToPinyin, Direction::kPinyinToHanzi}) {
    const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, direction);
    ASSERT_TRUE(q.has_value());
    const std::u16string right = direction == Direction::kHanziToPinyin ? u"wǒmen" : u"我们";
    EXPECT_EQ(std::set<std::u16string>(q->choices.begin(), q->choices.end()).size(), 4u);
    EXPECT_EQ(std::count(q->choices.begin(), q->choices.end(), right), 1);
    EXPECT_EQ(q->choices[static_cast<size_t>(q->answerIndex)], right);
  }
}

// A corpus appended by an import writes apostrophes (qǐ'é) where the shipped sentences do not
// (qǐé): the two are one reading, so one is never a wrong choice beside the other.
TEST_F(QuizFixture, ReadingsWrittenWithAndWithoutApostrophesAreOneChoice) {
  Build({{"企鹅 很 可爱 吗", "qǐé hěn kěài ma", "Is the penguin cute?"},
         {"企鹅 饿 了 吗", "qǐ'é è le ma", "Is the penguin hungry?"}},
        {"企鹅"});
  uint32_t tick = 0;
  WordTestEngine engine(corpus_, [&tick] { return tick += 7; });
  int asked = 0;
  for (int i = 0; i < 200; ++i) {
    const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin);
    ASSERT_TRUE(q.has_value());
    if (q->word != u"企鹅") continue;
    ++asked;
    for (size_t c = 0; c < q->choices.size(); ++c) {
      if (static_cast<int>(c) == q->answerIndex) continue;
      EXPECT_NE(q->choices[c], u"qǐé");
      EXPECT_NE(q->choices[c], u"qǐ'é");
    }
  }
  EXPECT_GT(asked, 0);
  const std::set<std::u16string> pool(engine.pinyinPool().begin(), engine.pinyinPool().end());
  EXPECT_EQ(pool.count(u"qǐé") + pool.count(u"qǐ'é"), 2u);  // both writings were there to draw
}

TEST_F(QuizFixture, ChoicesAreCompletedFromTheCorpusWordListFirst) {
  // The words of the second sentence (three tokens, never asked) complete the Chinese choices
  // before the fixed first entries do.
  Build({kPoolingSentence, {"朋友 你 他", "péngyǒu nǐ tā", "Friends."}}, {"我们"});
  uint32_t tick = 0;
  WordTestEngine engine(corpus_, [&tick] { return ++tick; });
  for (int i = 0; i < 60; ++i)
    ASSERT_TRUE(engine.NextQuestion(Level::kBeginner, Direction::kHanziToPinyin).has_value());
  const std::optional<WordTestQuestion> q = engine.NextQuestion(Level::kBeginner, Direction::kPinyinToHanzi);
  ASSERT_TRUE(q.has_value());
  const std::set<std::u16string> choices(q->choices.begin(), q->choices.end());
  EXPECT_EQ(choices.size(), 4u);
  EXPECT_EQ(choices.count(u"我们"), 1u);
  EXPECT_EQ(choices.count(u"美国"), 0u);
  size_t fromCorpus = 0;
  for (const char16_t* word : {u"「", u"朋友", u"你", u"他"}) fromCorpus += choices.count(word);
  EXPECT_EQ(fromCorpus, 3u);
}

}  // namespace
}  // namespace tamrel
