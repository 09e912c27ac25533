#include "lexicon/lexicon.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/lexicon/lexicon_test_support.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

std::u16string FirstReading(const Lexicon& lexicon, std::u16string_view word) {
  const Lexicon::Entry* entry = lexicon.FindWord(word);
  return entry == nullptr ? u"<none>" : std::u16string(lexicon.Reading(*entry));
}

TEST(LexiconTest, ShippedLexiconLoads) {
  const Lexicon& lexicon = test::ShippedLexicon();
  EXPECT_GT(lexicon.wordCount(), 300000u);
  EXPECT_NE(lexicon.FindWord(u"我们"), nullptr);
  EXPECT_NE(lexicon.FindWord(u"中华人民共和国"), nullptr);
  EXPECT_EQ(lexicon.FindWord(u"中华人民共"), nullptr);  // a prefix, not a word
  EXPECT_NE(lexicon.Find(u"中华人民共"), nullptr);
  EXPECT_EQ(lexicon.Find(u"xyz"), nullptr);
}

TEST(LexiconTest, ParsesWordsFrequenciesAndReadings) {
  Lexicon lexicon;
  ASSERT_TRUE(
      lexicon.Parse("# comment\n\n长\t30\tcháng,zhǎng\n长大\t10\tzhǎngdà\n大\t60\tdà,dài,Dà\n", "mini.tsv").ok());
  EXPECT_EQ(lexicon.wordCount(), 3u);
  const Lexicon::Entry* chang = lexicon.FindWord(u"长");
  ASSERT_NE(chang, nullptr);
  EXPECT_EQ(chang->readingCount, 2);
  EXPECT_EQ(lexicon.Reading(*chang, 0), u"cháng");
  EXPECT_EQ(lexicon.Reading(*chang, 1), u"zhǎng");
  EXPECT_EQ(lexicon.Reading(*chang, 2), u"");
  // Frequencies become log shares of the total (100).
  EXPECT_NEAR(chang->logProbability, std::log(0.3), 1e-5);
  EXPECT_NEAR(lexicon.FindWord(u"大")->logProbability, std::log(0.6), 1e-5);
  EXPECT_LT(lexicon.unknownLogProbability(), lexicon.FindWord(u"长大")->logProbability);
}

TEST(LexiconTest, WordWithoutReadingsTakesItsCharactersCommonReadings) {
  Lexicon lexicon;
  ASSERT_TRUE(lexicon.Parse("说\t5\tshuō,shuì\n话\t5\thuà\n说话人\t1\t\n说好\t1\t\n", "mini.tsv").ok());
  const Lexicon::Entry* speaker = lexicon.FindWord(u"说话人");
  ASSERT_NE(speaker, nullptr);
  EXPECT_EQ(speaker->readingCount, 0);  // 人 has no reading of its own
  const Lexicon::Entry* agreed = lexicon.FindWord(u"说好");
  ASSERT_NE(agreed, nullptr);
  EXPECT_EQ(agreed->readingCount, 0);  // nor has 好
  ASSERT_TRUE(lexicon.Parse("说\t5\tshuō,shuì\n话\t5\thuà\n说话\t1\t\n", "mini.tsv").ok());
  EXPECT_EQ(FirstReading(lexicon, u"说话"), u"shuōhuà");
}

TEST(LexiconTest, WordWithoutReadingsTakesItsLongestWordsReadings) {
  Lexicon lexicon;
  // 晚上好 without a reading of its own: 晚上 keeps its neutral tone, not 上's shàng; a word filled
  // in this way (晚上好) is no part for another (晚上好啊), which takes the file's words only.
  ASSERT_TRUE(lexicon
                  .Parse("晚\t5\twǎn\n上\t5\tshàng\n好\t5\thǎo\n啊\t5\ta\n晚上\t3\twǎnshang\n晚上好\t1\t\n"
                         "晚上好啊\t1\t\n上好\t1\tshànghǎo\n",
                         "mini.tsv")
                  .ok());
  EXPECT_EQ(FirstReading(lexicon, u"晚上好"), u"wǎnshanghǎo");
  EXPECT_EQ(FirstReading(lexicon, u"晚上好啊"), u"wǎnshanghǎoa");
  // The most probable split, not the longest first word: 做 作业, not 做作 业.
  ASSERT_TRUE(
      lexicon.Parse("做\t50\tzuò\n作\t5\tzuò\n业\t1\tyè\n做作\t1\tzuòzuo\n作业\t40\tzuòyè\n做作业\t2\t\n", "mini.tsv")
          .ok());
  EXPECT_EQ(FirstReading(lexicon, u"做作业"), u"zuòzuòyè");
}

TEST(LexiconTest, AstralCharactersAreWordsToo) {
  Lexicon lexicon;
  ASSERT_TRUE(lexicon.Parse("\xF0\xA0\x80\x80\t3\tkāo\n\xF0\xA0\x80\x80\xE4\xBA\xBA\t2\t\n人\t4\trén\n", "m.tsv").ok());
  EXPECT_EQ(FirstReading(lexicon, u"\U00020000"), u"kāo");
  EXPECT_EQ(FirstReading(lexicon, u"\U00020000人"), u"kāorén");
}

struct Damage {
  const char* bytes;
  int64_t line;
  const char* reason;
};

// Names the case by what it breaks, so that test names stay the same from run to run.
void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.reason; }

class DamagedLexiconTest : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedLexiconTest, RefusedWithFileAndLine) {
  test::RuntimeFolder folder;
  const std::filesystem::path file = folder / "data/lexicon.tsv";
  test::WriteBytes(file, GetParam().bytes);
  Lexicon lexicon;
  const Status status = lexicon.Load(file);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(status.file(), file);
  EXPECT_EQ(status.line(), GetParam().line);
  EXPECT_NE(status.reason().find(GetParam().reason), std::string::npos) << status.reason();
  if (GetParam().line > 0) {
    EXPECT_NE(status.ToString().find("lexicon.tsv, line " + std::to_string(GetParam().line) + ": "), std::string::npos);
  }
  // Nothing of the damaged file stays behind.
  EXPECT_TRUE(lexicon.empty());
  EXPECT_EQ(lexicon.FindWord(u"好"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DamagedLexiconTest,
    ::testing::Values(Damage{"好\t5\thǎo\n坏\t5\n", 2, "expected WORD<TAB>FREQUENCY<TAB>READINGS"},
                      Damage{"好\t5\thǎo\t\n", 1, "expected"},
                      Damage{"# header\n好\t5\thǎo\n坏\tmany\thuài\n", 3, "frequency"},
                      Damage{"好\t0\thǎo\n", 1, "frequency"}, Damage{"好\t-3\thǎo\n", 1, "frequency"},
                      Damage{"好\t5\thǎo\n\xE5\xA5\t5\thǎo\n", 2, "word is not well-formed UTF-8"},
                      Damage{"\xED\xA0\x80\t5\tx\n", 1, "not well-formed"},  // an encoded surrogate
                      Damage{"好\t5\th\xC3\n", 1, "reading is not well-formed"},
                      Damage{"好\t5\thǎo,,hào\n", 1, "reading is empty"},
                      Damage{"好\t5\thǎo\n好\t6\thào\n", 2, "listed twice"}, Damage{"\t5\thǎo\n", 1, "word is empty"},
                      Damage{"好 人\t5\thǎo\n", 1, "space"}, Damage{"# nothing but comments\n\n", 0, "no words"}));

TEST(LexiconTest, MissingFileIsNotFoundAndAFolderIsRefused) {
  test::RuntimeFolder folder;
  Lexicon lexicon;
  const Status missing = lexicon.Load(folder / "data/absent.tsv");
  EXPECT_EQ(missing.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(missing.file(), folder / "data/absent.tsv");
  // A folder opens as a stream on Linux and reports a huge size; it must be refused before that.
  const Status notAFile = lexicon.Load(folder / "data");
  EXPECT_EQ(notAFile.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(notAFile.file(), folder / "data");
}

// A FIFO in place of the lexicon is refused at once, like a folder.
TEST(LexiconTest, AFifoIsRefusedWithoutBlocking) {
  test::RuntimeFolder folder;
  const auto fifo = folder / "data/lexicon.tsv";
  test::MakeFifo(fifo);
  Lexicon lexicon;
  Status status;
  EXPECT_TRUE(test::ReturnsWithin(5, {fifo}, [&] { status = lexicon.Load(fifo); }));
  EXPECT_EQ(status.kind(), Status::Kind::kInvalidInput) << status.ToString();
  EXPECT_EQ(status.file(), fifo);
  EXPECT_EQ(status.reason(), "is a FIFO, not a regular file");
  EXPECT_EQ(lexicon.Load("/dev/null").reason(), "is a device, not a regular file");
}

TEST(LexiconTest, OverlongWordIsRefused) {
  std::string line;
  for (size_t i = 0; i <= Lexicon::kMaxWordLength; ++i) line += "好";
  Lexicon lexicon;
  const Status status = lexicon.Parse(line + "\t1\thǎo\n", "long.tsv");
  EXPECT_EQ(status.line(), 1);
  EXPECT_NE(status.reason().find("longer"), std::string::npos);
}

TEST(LexiconTest, CarriageReturnsAndMissingLastNewlineAreFine) {
  Lexicon lexicon;
  ASSERT_TRUE(lexicon.Parse("好\t5\thǎo\r\n人\t4\trén", "crlf.tsv").ok());
  EXPECT_EQ(FirstReading(lexicon, u"好"), u"hǎo");
  EXPECT_EQ(FirstReading(lexicon, u"人"), u"rén");
}

}  // namespace
}  // namespace tamrel
