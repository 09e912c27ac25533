// Checks of the corpus that ships in BDict/: its format, its dictionaries, and that it builds.
#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "corpus/corpus_files.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "explorer/search_command.h"
#include "learning/word_test_engine.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TAMREL_SOURCE_DIR) / "BDict";

std::vector<std::vector<std::u16string>> Groups(std::u16string_view tag) {
  const std::u16string text =
      Utf8ToUtf16(test::ReadBytes(kShipped / CorpusFileName({}, CorpusFile::kSentences, tag).filename()));
  FieldList lines = SplitString(text, u"\n");
  std::vector<std::vector<std::u16string>> groups;
  for (size_t i = 0; i + 2 < lines.size(); i += 3) groups.push_back({lines[i], lines[i + 1], lines[i + 2]});
  EXPECT_EQ(lines.size() % 3, 0u);
  return groups;
}

bool IsPinyinLetter(char16_t c) {
  static const std::u16string kMarked = u"āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü";
  return (c >= u'a' && c <= u'z') || kMarked.find(c) != std::u16string::npos;
}

TEST(ShippedCorpus, PinyinHasOneTokenOfPinyinLettersPerChineseWord) {
  for (const std::u16string tag : {u"BI", u"MO"}) {
    for (const auto& g : Groups(tag)) {
      const FieldList chinese = SplitString(g[0], u" ");
      const FieldList pinyin = SplitString(g[1], u" ");
      ASSERT_EQ(chinese.size(), pinyin.size()) << Utf16ToUtf8(g[0]);
      for (size_t i = 0; i < pinyin.size(); ++i) {
        bool letters = !pinyin[i].empty();
        for (char16_t c : pinyin[i]) letters = letters && IsPinyinLetter(c);
        EXPECT_TRUE(letters || pinyin[i] == chinese[i]) << Utf16ToUtf8(g[1]);
      }
    }
  }
}

TEST(ShippedCorpus, IsLargeEnoughForLearners) {
  const auto bilingual = Groups(u"BI");
  std::set<std::u16string> words;
  for (const auto& g : bilingual) {
    EXPECT_FALSE(g[0].empty() || g[2].empty());
    for (const auto& w : SplitString(g[0], u" ")) words.insert(w);
  }
  EXPECT_GE(bilingual.size(), 800u);
  EXPECT_GE(words.size(), 1500u);
  size_t chineseOnly = 0;
  size_t englishOnly = 0;
  for (const auto& g : Groups(u"MO")) {
    chineseOnly += !g[0].empty() && g[2].empty();
    englishOnly += g[0].empty() && g[1].empty() && !g[2].empty();
  }
  EXPECT_GE(chineseOnly, 400u);
  EXPECT_GE(englishOnly, 400u);
}

TEST(ShippedCorpus, DictionariesAreWhatPrepareMakesAndBuildWithoutSkips) {
  for (const std::u16string tag : {u"BI", u"MO"}) {
    test::RuntimeFolder folder;
    const auto sentences = CorpusFileName(folder.path(), CorpusFile::kSentences, tag);
    const auto dictionary = CorpusFileName(folder.path(), CorpusFile::kDictionary, tag);
    std::filesystem::copy_file(kShipped / sentences.filename(), sentences);
    PrepareReport prepared;
    const Status status = PrepareDictionary(folder.path(), tag, prepared);
    ASSERT_TRUE(status.ok()) << status.ToString();
    EXPECT_TRUE(prepared.droppedKeys.empty());
    EXPECT_TRUE(test::ReadBytes(dictionary) == test::ReadBytes(kShipped / dictionary.filename()))
        << "run 'tamrel-cli prepare' after changing BDict/" << sentences.filename();
    BuildReport built;
    const Status builtStatus = BuildCorpus(folder.path(), tag, &built);
    ASSERT_TRUE(builtStatus.ok()) << builtStatus.ToString();
    EXPECT_EQ(built.skippedLines, 0);
    EXPECT_EQ(built.longKeys, 0);
    EXPECT_EQ(built.sentenceGroups, static_cast<int64_t>(Groups(tag).size()));
  }
}

// Both shipped corpora built and loaded in a temporary runtime folder.
class ShippedIndexes : public ::testing::Test {
 protected:
  void SetUp() override {
    for (CorpusIndex* index : {&bilingual_, &monolingual_}) {
      for (CorpusFile f : {CorpusFile::kDictionary, CorpusFile::kSentences}) {
        const auto path = CorpusFileName(folder_.path(), f, index->tag());
        std::filesystem::copy_file(kShipped / path.filename(), path);
      }
      const Status built = BuildCorpus(folder_.path(), index->tag());
      ASSERT_TRUE(built.ok()) << built.ToString();
      const Status loaded = LoadCorpus(*index);
      ASSERT_TRUE(loaded.ok()) << loaded.ToString();
    }
  }
  test::RuntimeFolder folder_;
  CorpusIndex bilingual_{folder_.path(), kTagBilingual};
  CorpusIndex monolingual_{folder_.path(), kTagMonolingual};
};

TEST_F(ShippedIndexes, EverydayQueriesFindSentencesInBothCorpora) {
  const CorpusIndex& bilingual = bilingual_;
  const CorpusIndex& monolingual = monolingual_;
  for (const std::u16string query : {u"weather", u"朋友", u"我们明天去公园"}) {
    const SearchCommandResult r =
        RunSearchCommand(query, {bilingual, monolingual, test::OpenedSimplifier()}, SysSettings{}, {});
    EXPECT_FALSE(r.bilingual.empty()) << Utf16ToUtf8(query);
    EXPECT_FALSE(r.monolingual.empty()) << Utf16ToUtf8(query);
  }
}

// Beginner and Normal must find a question at every draw; Expert draws from positions 1000 to
// 9999, of which the corpus fills only the first few hundred, so it succeeds less often.
TEST_F(ShippedIndexes, WordTestFindsQuestionsAtEveryDraw) {
  uint32_t tick = 12345;
  WordTestEngine engine(bilingual_, [&] { return tick; });
  int expertFound = 0;
  for (int draw = 0; draw < 200; ++draw, tick += 7919) {
    for (Direction direction : {Direction::kHanziToPinyin, Direction::kPinyinToHanzi}) {
      for (Level level : {Level::kBeginner, Level::kNormal}) {
        const std::optional<WordTestQuestion> q = engine.NextQuestion(level, direction);
        ASSERT_TRUE(q.has_value()) << "level " << static_cast<int>(level) << ", tick " << tick;
        EXPECT_LT(q->attempts, 200) << "level " << static_cast<int>(level) << ", tick " << tick;
      }
    }
    expertFound += engine.NextQuestion(Level::kExpert, Direction::kHanziToPinyin).has_value();
  }
  EXPECT_GE(expertFound, 150);
}

}  // namespace
}  // namespace tamrel
