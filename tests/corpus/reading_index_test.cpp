#include "corpus/reading_index.h"

#include <gtest/gtest.h>

#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

std::vector<std::u16string> Chinese(const std::vector<ReadingIndex::Word>* words) {
  std::vector<std::u16string> out;
  if (words != nullptr) {
    for (const ReadingIndex::Word& w : *words) out.push_back(w.chinese);
  }
  return out;
}

TEST(ReadingIndexTest, WordsFiledUnderTheReadingsTheirSentencesGive) {
  test::RuntimeFolder folder;
  // 还 is read two ways; 妈 is more frequent than 马, so it comes first under "ma".
  const Status written =
      test::WriteCorpus(folder.path(), u"BI",
                        {{"你好 ， 妈 ！", "nǐhǎo ， mā ！", "Hello, mum!"},
                         {"妈 还 在 。", "mā hái zài 。", "Mum is still here."},
                         {"还 书 给 马 。", "huán shū gěi mǎ 。", "Give the book back to the horse."},
                         {"西安 OK 。", "xī'ān OK 。", "Xi'an is OK."}});
  ASSERT_TRUE(written.ok()) << written.ToString();
  CorpusIndex index(folder.path(), u"BI");
  ASSERT_TRUE(LoadCorpus(index).ok());
  const ReadingIndex readings = BuildReadingIndex(index);

  const auto* nihao = readings.Find(u"nihao");
  ASSERT_NE(nihao, nullptr);
  EXPECT_EQ(Chinese(nihao), std::vector<std::u16string>{u"你好"});
  EXPECT_EQ(nihao->front().syllables, (std::vector<PinyinSyllable>{{u"ni", 3}, {u"hao", 3}}));
  EXPECT_EQ(Chinese(readings.Find(u"ma")), (std::vector<std::u16string>{u"妈", u"马"}));
  EXPECT_EQ(Chinese(readings.Find(u"hai")), std::vector<std::u16string>{u"还"});
  EXPECT_EQ(Chinese(readings.Find(u"huan")), std::vector<std::u16string>{u"还"});
  EXPECT_EQ(readings.Find(u"xian")->front().syllables, (std::vector<PinyinSyllable>{{u"xi", 1}, {u"an", 1}}));
  // Punctuation and Latin tokens are no Chinese words.
  EXPECT_EQ(readings.Find(u"ok"), nullptr);
  EXPECT_EQ(readings.longestReading(), 2u);
}

TEST(ReadingIndexTest, AWordReadTheSameWayTwiceIsKeptOnce) {
  ReadingIndex readings;
  readings.Add(u"你好", u"nǐhǎo", 3);
  readings.Add(u"你好", u"nǐhǎo", 1);
  readings.Add(u"你好", u"nihao", 2);  // another reading of the same letters
  readings.Add(u"，", u"，", 0);
  readings.Add(u"好", u"hello", 0);  // a reading that is not pinyin
  EXPECT_EQ(readings.size(), 2u);
  EXPECT_EQ(readings.Find(u"nihao")->size(), 2u);
  EXPECT_EQ(readings.Find(u"nihao")->front().rank, 2u);  // most frequent first
  EXPECT_EQ(readings.Find(u"hello"), nullptr);
}

TEST(ReadingIndexTest, ApostrophesSeparateSyllablesAndChangeNoReading) {
  ReadingIndex readings;
  readings.Add(u"企鹅", u"qǐ'é", 2);  // as an import writes it
  readings.Add(u"企鹅", u"qǐé", 1);   // as the shipped corpus writes it: the same reading
  readings.Add(u"天安门", u"Tiān'ānmén", 3);
  readings.Add(u"可爱", u"kě’ài", 4);  // a typographic apostrophe
  EXPECT_EQ(readings.size(), 3u);
  ASSERT_NE(readings.Find(u"qie"), nullptr);
  EXPECT_EQ(readings.Find(u"qie")->size(), 1u);
  EXPECT_EQ(readings.Find(u"qie")->front().rank, 2u);  // the rank given first
  EXPECT_EQ(readings.Find(u"qie")->front().syllables, (std::vector<PinyinSyllable>{{u"qi", 3}, {u"e", 2}}));
  EXPECT_EQ(readings.Find(u"tiananmen")->front().syllables,
            (std::vector<PinyinSyllable>{{u"tian", 1}, {u"an", 1}, {u"men", 2}}));
  EXPECT_EQ(readings.Find(u"keai")->front().syllables, (std::vector<PinyinSyllable>{{u"ke", 3}, {u"ai", 4}}));
  EXPECT_EQ(readings.longestReading(), 3u);
}

}  // namespace
}  // namespace tamrel
