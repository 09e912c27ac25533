// The shipped dictionary (resources/lexicon/dictionary.tsv) against its sources: senses in
// CC-CEDICT's order, "see X" references resolved, HSK levels equal to the shared HSK 3.0 list,
// and the reverse look-up giving the expected Chinese word for common English words.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "dictionary/dictionary.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

const std::filesystem::path kSourceDir = TAMREL_SOURCE_DIR;

class ShippedDictionaryTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dictionary_ = new Dictionary;
    file_ = new DictionaryFile;
    const std::filesystem::path path = kSourceDir / "resources/lexicon/dictionary.tsv";
    ASSERT_TRUE(dictionary_->Open(path).ok());
    ASSERT_TRUE(file_->Open(path).ok());
  }
  static void TearDownTestSuite() {
    delete dictionary_;
    delete file_;
  }
  static std::vector<DictionaryEntry> Chinese(std::u16string_view word) {
    std::vector<DictionaryEntry> entries;
    EXPECT_TRUE(dictionary_->LookUpChinese(word, entries).ok());
    return entries;
  }
  static Dictionary* dictionary_;
  static DictionaryFile* file_;
};
Dictionary* ShippedDictionaryTest::dictionary_ = nullptr;
DictionaryFile* ShippedDictionaryTest::file_ = nullptr;

TEST_F(ShippedDictionaryTest, SensesInCedictOrder) {
  const std::vector<DictionaryEntry> study = Chinese(u"学习");
  ASSERT_EQ(study.size(), 1u);
  EXPECT_EQ(study[0].senses, (std::vector<std::u16string>{u"to learn", u"to study"}));
  EXPECT_EQ(study[0].traditional, u"學習");
  EXPECT_EQ(JoinedPinyin(study[0].syllables), u"xuéxí");

  const std::vector<DictionaryEntry> see = Chinese(u"见");
  ASSERT_FALSE(see.empty());
  EXPECT_EQ(see[0].senses, (std::vector<std::u16string>{u"to see", u"to meet", u"to appear (to be sth)",
                                                        u"to interview", u"opinion", u"view"}));
  const std::vector<DictionaryEntry> apple = Chinese(u"苹果");
  ASSERT_EQ(apple.size(), 2u);
  EXPECT_EQ(apple[0].senses, std::vector<std::u16string>{u"apple"});  // the common noun first
  EXPECT_EQ(apple[0].classifiers, (std::vector<std::u16string>{u"个[gè]", u"颗[kē]"}));
}

TEST_F(ShippedDictionaryTest, ReadingsCommonFirst) {
  const std::vector<DictionaryEntry> le = Chinese(u"了");
  ASSERT_GE(le.size(), 2u);
  EXPECT_EQ(JoinedPinyin(le[0].syllables), u"le");
  const std::vector<DictionaryEntry> xing = Chinese(u"行");
  ASSERT_GE(xing.size(), 2u);
  EXPECT_EQ(JoinedPinyin(xing[0].syllables), u"xíng");
}

// Every "see X[...]" sense whose X is a headword leads to X's senses.
TEST_F(ShippedDictionaryTest, ReferencesAreResolved) {
  const std::vector<DictionaryEntry> die = Chinese(u"一命归天");
  ASSERT_EQ(die.size(), 1u);
  EXPECT_EQ(die[0].referred, Chinese(u"一命呜呼")[0].senses);

  const std::regex see("^see (?:[^|\\[ ]+\\|)?([^|\\[ ]+)\\[");
  size_t checked = 0;
  for (size_t i = 0; i < file_->size(); ++i) {
    DictionaryEntry entry;
    ASSERT_TRUE(file_->ReadEntry(i, entry).ok());
    for (const std::u16string& sense : entry.senses) {
      std::smatch match;
      const std::string text = Utf16ToUtf8(sense);
      if (!std::regex_search(text, match, see)) continue;
      std::vector<DictionaryEntry> target;
      ASSERT_TRUE(dictionary_->LookUpChinese(Utf8ToUtf16(match[1].str()), target).ok());
      if (target.empty()) continue;
      EXPECT_FALSE(entry.referred.empty()) << Utf16ToUtf8(entry.simplified) << ": " << text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 3000u);
}

// Each word of the shared HSK 3.0 list that the dictionary holds has the list's level (its
// lowest, where the list names a word twice) on one of its entries, and none lower.
TEST_F(ShippedDictionaryTest, HskLevelsEqualTheSharedList) {
  std::ifstream list(kSourceDir.parent_path() / "shared/corpora/hsk30/hsk30-expanded.csv");
  if (!list) GTEST_SKIP() << "../shared/corpora/hsk30 is not there";
  std::map<std::string, int> levels;
  std::string line;
  std::getline(list, line);
  while (std::getline(list, line)) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    if (fields.size() < 6) continue;
    const int level = fields[5] == "7-9" ? 7 : std::stoi(fields[5]);
    auto [at, added] = levels.emplace(fields[1], level);
    if (!added) at->second = std::min(at->second, level);
  }
  ASSERT_GT(levels.size(), 10000u);
  size_t compared = 0;
  for (const auto& [word, level] : levels) {
    const std::vector<DictionaryEntry> entries = Chinese(Utf8ToUtf16(word));
    if (entries.empty()) continue;
    int lowest = 0;
    for (const DictionaryEntry& e : entries) {
      const int l = static_cast<int>(e.hsk);
      if (l != 0 && (lowest == 0 || l < lowest)) lowest = l;
    }
    EXPECT_EQ(lowest, level) << word;
    ++compared;
  }
  EXPECT_GT(compared, 10900u);
}

// The characters of `word` (UTF-8), each as its own UTF-8 bytes.
std::vector<std::string> Characters(const std::string& word) {
  std::vector<std::string> characters;
  for (const char c : word) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) characters.emplace_back();
    characters.back() += c;
  }
  return characters;
}

// Each one-character headword carries its character's level, derived from the shared list as
// resources/lexicon/README.md says: its own word's (lowest) level, else the lowest of the listed
// words that hold it; nothing for a character no listed word holds.
TEST_F(ShippedDictionaryTest, CharacterLevelsFollowTheSharedList) {
  std::ifstream list(kSourceDir.parent_path() / "shared/corpora/hsk30/hsk30-expanded.csv");
  if (!list) GTEST_SKIP() << "../shared/corpora/hsk30 is not there";
  std::map<std::string, int> own;
  std::map<std::string, int> within;
  const auto lower = [](std::map<std::string, int>& table, const std::string& key, int level) {
    auto [at, added] = table.emplace(key, level);
    if (!added) at->second = std::min(at->second, level);
  };
  std::string line;
  std::getline(list, line);
  while (std::getline(list, line)) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    if (fields.size() < 6) continue;
    const int level = fields[5] == "7-9" ? 7 : std::stoi(fields[5]);
    const std::vector<std::string> characters = Characters(fields[1]);
    if (characters.size() == 1) lower(own, fields[1], level);
    for (const std::string& character : characters) lower(within, character, level);
  }
  size_t compared = 0;
  for (size_t i = 0; i < file_->size(); ++i) {
    const std::string headword(file_->Headword(i));
    if (Characters(headword).size() != 1) continue;
    DictionaryEntry entry;
    ASSERT_TRUE(file_->ReadEntry(i, entry).ok());
    int expected = 0;
    if (own.count(headword)) {
      expected = own[headword];
    } else if (within.count(headword)) {
      expected = within[headword];
    }
    EXPECT_EQ(static_cast<int>(entry.characterHsk), expected) << headword;
    compared += expected != 0;
  }
  EXPECT_GT(compared, 2900u);  // entries of the list's 2,972 characters
}

// Common English words and the Chinese word a learner expects among the first five.
struct Translation {
  const char16_t* english;
  const char16_t* chinese;
};
constexpr Translation kTranslations[] = {
    {u"apple", u"苹果"},    {u"study", u"学习"},     {u"water", u"水"},      {u"book", u"书"},
    {u"dog", u"狗"},        {u"cat", u"猫"},         {u"eat", u"吃"},        {u"drink", u"喝"},
    {u"big", u"大"},        {u"small", u"小"},       {u"good", u"好"},       {u"person", u"人"},
    {u"car", u"汽车"},      {u"school", u"学校"},    {u"teacher", u"老师"},  {u"student", u"学生"},
    {u"friend", u"朋友"},   {u"mother", u"母亲"},    {u"father", u"父亲"},   {u"today", u"今天"},
    {u"tomorrow", u"明天"}, {u"yesterday", u"昨天"}, {u"money", u"钱"},      {u"love", u"爱"},
    {u"tea", u"茶"},        {u"fish", u"鱼"},        {u"bird", u"鸟"},       {u"horse", u"马"},
    {u"tree", u"树"},       {u"hospital", u"医院"},  {u"doctor", u"医生"},   {u"telephone", u"电话"},
    {u"buy", u"买"},        {u"sell", u"卖"},        {u"write", u"写"},      {u"music", u"音乐"},
    {u"city", u"城市"},     {u"country", u"国家"},   {u"language", u"语言"}, {u"sleep", u"睡觉"},
};

TEST_F(ShippedDictionaryTest, EnglishWordsFindTheirTranslation) {
  for (const Translation& t : kTranslations) {
    std::vector<DictionaryEntry> entries;
    ASSERT_TRUE(dictionary_->LookUpEnglish(t.english, 5, entries).ok());
    std::vector<std::string> words;
    for (const DictionaryEntry& e : entries) words.push_back(Utf16ToUtf8(e.simplified));
    EXPECT_NE(std::find(words.begin(), words.end(), Utf16ToUtf8(t.chinese)), words.end())
        << Utf16ToUtf8(t.english) << " gave " << testing::PrintToString(words);
  }
  std::vector<DictionaryEntry> apple;
  ASSERT_TRUE(dictionary_->LookUpEnglish(u"apple", 5, apple).ok());
  ASSERT_FALSE(apple.empty());
  EXPECT_EQ(apple[0].simplified, u"苹果");
  std::vector<DictionaryEntry> study;
  ASSERT_TRUE(dictionary_->LookUpEnglish(u"study", 3, study).ok());
  ASSERT_EQ(study.size(), 3u);
  EXPECT_TRUE(study[0].simplified == u"学习" || study[1].simplified == u"学习" || study[2].simplified == u"学习");
}

}  // namespace
}  // namespace tamrel
