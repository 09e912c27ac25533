// The dictionary file reader on small files spelled out here: entries read field by field, found
// by headword, and damaged files refused with the file and line named.
#include "dictionary/dictionary_file.h"

#include <gtest/gtest.h>

#include <string>

#include "dictionary/dictionary.h"

namespace tamrel {
namespace {

const std::string kHeader = "# Tamrel dictionary 1: test\n# a second header line\n";
const std::string kLines =
    "一命归天\t一命歸天\tyī mìng guī tiān\tsee 一命嗚呼|一命呜呼[yi1 ming4 wu1 hu1]\t\tto die (idiom)/to breathe one's "
    "last\t\t149602\n"
    "了\t\tle\t(completed action marker)/(modal particle indicating change of state, situation now)\t\t\t1\t1\t1\n"
    "了\t\tliǎo\tto finish/to understand clearly\t\t\t3\t1\t1\n"
    "苹果\t蘋果\tpíng guǒ\tapple\t个[gè]/颗[kē]\t\t3\t5692\n"
    "苹果\t蘋果\tPíng guǒ\tApple (American tech company)\t\t\t\t5692\n"
    "西安\t\tXī ān\tXi'an\t\t\t7-9\t\n";

TEST(DictionaryFileTest, ReadsEveryFieldInOrder) {
  DictionaryFile file;
  ASSERT_TRUE(file.Parse(kHeader + kLines, "d.tsv").ok());
  ASSERT_EQ(file.size(), 6u);
  DictionaryEntry entry;
  ASSERT_TRUE(file.ReadEntry(3, entry).ok());
  EXPECT_EQ(entry.simplified, u"苹果");
  EXPECT_EQ(entry.traditional, u"蘋果");
  EXPECT_EQ(entry.syllables, (std::vector<std::u16string>{u"píng", u"guǒ"}));
  EXPECT_EQ(entry.senses, std::vector<std::u16string>{u"apple"});
  EXPECT_EQ(entry.classifiers, (std::vector<std::u16string>{u"个[gè]", u"颗[kē]"}));
  EXPECT_EQ(entry.hsk, HskLevel::k3);
  EXPECT_EQ(entry.frequencyRank, 5692u);

  ASSERT_TRUE(file.ReadEntry(1, entry).ok());
  EXPECT_EQ(entry.traditional, u"了");  // an empty field: the simplified form
  EXPECT_EQ(entry.senses, (std::vector<std::u16string>{u"(completed action marker)",
                                                       u"(modal particle indicating change of state, situation now)"}));
  ASSERT_TRUE(file.ReadEntry(2, entry).ok());
  EXPECT_EQ(entry.hsk, HskLevel::k3);
  EXPECT_EQ(entry.characterHsk, HskLevel::k1);  // the ninth field
  ASSERT_TRUE(file.ReadEntry(0, entry).ok());
  EXPECT_EQ(entry.characterHsk, HskLevel::kNone);  // a file of eight fields
  EXPECT_EQ(entry.referred, (std::vector<std::u16string>{u"to die (idiom)", u"to breathe one's last"}));
  ASSERT_TRUE(file.ReadEntry(5, entry).ok());
  EXPECT_EQ(entry.hsk, HskLevel::k7To9);
  EXPECT_EQ(entry.frequencyRank, 0u);
  EXPECT_EQ(JoinedPinyin(entry.syllables), u"Xī'ān");
}

TEST(DictionaryFileTest, FindsEveryEntryOfAHeadword) {
  DictionaryFile file;
  ASSERT_TRUE(file.Parse(kHeader + kLines, "d.tsv").ok());
  EXPECT_EQ(file.FindHeadword("了"), std::make_pair(size_t{1}, size_t{3}));
  EXPECT_EQ(file.FindHeadword("苹果"), std::make_pair(size_t{3}, size_t{5}));
  const auto [first, last] = file.FindHeadword("苹");
  EXPECT_EQ(first, last);
}

TEST(DictionaryFileTest, LooksUpTraditionalForms) {
  Dictionary dictionary;
  ASSERT_TRUE(dictionary.Parse(kHeader + kLines, "d.tsv").ok());
  std::vector<DictionaryEntry> entries;
  ASSERT_TRUE(dictionary.LookUpChinese(u"蘋果", entries).ok());
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].simplified, u"苹果");
}

TEST(DictionaryFileTest, RefusesDamagedFiles) {
  DictionaryFile file;
  Status status = file.Parse(kLines, "d.tsv");
  EXPECT_EQ(status.kind(), Status::Kind::kCorruption) << status.ToString();  // no header
  status = file.Parse(kHeader + kLines.substr(0, kLines.size() - 1), "d.tsv");
  EXPECT_EQ(status.kind(), Status::Kind::kCorruption) << status.ToString();  // cut short
  status = file.Parse(kHeader + "了\t\tle\tx\t\t\t\t\n一\t\tyī\tone\t\t\t1\t2\n", "d.tsv");
  EXPECT_EQ(status.line(), 4) << status.ToString();  // out of order: binary search would miss words
  status = file.Parse(kHeader + "\tx\n", "d.tsv");
  EXPECT_EQ(status.line(), 3) << status.ToString();
  EXPECT_EQ(file.size(), 0u);
  EXPECT_EQ(file.Open("/nonexistent/dictionary.tsv").kind(), Status::Kind::kNotFound);
}

TEST(DictionaryFileTest, RefusesDamagedEntriesNamingTheirLine) {
  for (const std::string line : {"了\t\tle\tx\n", "了\t\tle\tx\t\t\t8\t\n", "了\t\tle\tx\t\t\t\t0\n",
                                 "了\t\tle\tx\t\t\t\t12x\n", "了\t\tle\t\xff\t\t\t\t\n", "了\t\tle\tx\t\t\t\t\t\t\n",
                                 "了\t\tle\tx\t\t\t1\t1\t8\n", "了\t\tle\tx\t\t\t1\t1\t7\n"}) {
    DictionaryFile file;
    ASSERT_TRUE(file.Parse(kHeader + line, "d.tsv").ok());
    DictionaryEntry entry;
    const Status status = file.ReadEntry(0, entry);
    EXPECT_EQ(status.kind(), Status::Kind::kInvalidInput) << line;
    EXPECT_EQ(status.line(), 3) << line;
    Dictionary dictionary;
    ASSERT_TRUE(dictionary.Parse(kHeader + line, "d.tsv").ok());
    std::vector<DictionaryEntry> entries;
    EXPECT_FALSE(dictionary.LookUpChinese(u"了", entries).ok()) << line;
  }
}

}  // namespace
}  // namespace tamrel
