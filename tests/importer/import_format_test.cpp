#include "importer/import_format.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::RuntimeFolder;
using test::WriteBytes;

class ImportFormatTest : public ::testing::Test {
 protected:
  // Writes `bytes` to a file of the folder and detects its format.
  Status Detect(std::string_view bytes, DetectedFormat& format) {
    WriteBytes(file_, bytes);
    return DetectImportFormat(file_, format);
  }
  RuntimeFolder folder_;
  std::filesystem::path file_ = folder_ / "input.txt";
};

TEST_F(ImportFormatTest, EnglishChinesePairsWithAttribution) {
  DetectedFormat f;
  ASSERT_TRUE(Detect("Hi.\t嗨。\tCC-BY 2.0 (France) Attribution: tatoeba.org #538123 (CM) & #891077 (Martha)\n"
                     "Run.\t你用跑的。\tCC-BY 2.0 (France)\n",
                     f)
                  .ok());
  EXPECT_EQ(f.format, ImportFormat::kPairs);
  EXPECT_EQ(f.chineseField, 1u);
  EXPECT_EQ(f.englishField, 0u);
}

TEST_F(ImportFormatTest, ChineseFirstPairs) {
  DetectedFormat f;
  ASSERT_TRUE(Detect("嗨。\tHi.\n你好。\tHello.\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kPairs);
  EXPECT_EQ(f.chineseField, 0u);
  EXPECT_EQ(f.englishField, 1u);
}

TEST_F(ImportFormatTest, TatoebaSentencePairsEitherOrder) {
  DetectedFormat f;
  ASSERT_TRUE(
      Detect("1277\t我们试试吧。\t1276\tLet's try something.\n1280\t我得走了。\t1278\tI have to go.\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kSentencePairs);
  EXPECT_EQ(f.chineseField, 1u);
  EXPECT_EQ(f.englishField, 3u);
  ASSERT_TRUE(Detect("1276\tLet's try something.\t1277\t我们试试吧。\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kSentencePairs);
  EXPECT_EQ(f.chineseField, 3u);
  EXPECT_EQ(f.englishField, 1u);
}

TEST_F(ImportFormatTest, TatoebaSentencesAndLinks) {
  DetectedFormat f;
  ASSERT_TRUE(Detect("1\tcmn\t我们试试吧。\n2\teng\tLet's try.\n3\tfra\tEssayons.\n4\t\\N\tUnknown.\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kSentences);
  ASSERT_TRUE(Detect("1\t2\n2\t1\n1\t3\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kLinks);
}

TEST_F(ImportFormatTest, PlainTextOfEitherLanguage) {
  DetectedFormat f;
  ASSERT_TRUE(Detect("我们试试吧。\nLet's try something.\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kPlainText);
  ASSERT_TRUE(Detect("Only English here.\nAnd here.\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kPlainText);
}

TEST_F(ImportFormatTest, AMinorityOfOddLinesDoesNotChangeTheFormat) {
  DetectedFormat f;
  ASSERT_TRUE(Detect("Hi.\t嗨。\nbroken line without a tab\nRun.\t跑。\n", f).ok());
  EXPECT_EQ(f.format, ImportFormat::kPairs);
}

TEST_F(ImportFormatTest, ByteOrderMarksAndUtf16) {
  DetectedFormat f;
  ASSERT_TRUE(Detect("\xEF\xBB\xBF"
                     "1\t2\n3\t4\n",
                     f)
                  .ok());  // the mark does not hide the first ID
  EXPECT_EQ(f.format, ImportFormat::kLinks);
  const std::u16string text = u"Hi.\t嗨。\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t u : text) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  ASSERT_TRUE(Detect(bytes, f).ok());
  EXPECT_EQ(f.format, ImportFormat::kPairs);
  EXPECT_EQ(f.chineseField, 1u);
}

TEST_F(ImportFormatTest, RefusalsNameTheFileAndWhy) {
  DetectedFormat f;
  Status s = Detect("", f);
  EXPECT_EQ(s.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(s.file(), file_);
  EXPECT_NE(s.reason().find("empty"), std::string::npos);
  EXPECT_EQ(Detect("\n \n\t\n", f).kind(), Status::Kind::kInvalidInput);  // blank lines only

  s = Detect(std::string("\x7F"
                         "ELF\x02\x01\x01\0\0\0",
                         10),
             f);
  EXPECT_EQ(s.kind(), Status::Kind::kInvalidInput);
  EXPECT_NE(s.reason().find("NUL"), std::string::npos);

  s = Detect("\xFE\xFF\0H\0i", f);
  EXPECT_EQ(s.kind(), Status::Kind::kInvalidInput);
  EXPECT_NE(s.reason().find("big-endian"), std::string::npos);

  s = Detect("\xC0\xC1\xF5\n\xFF\xFF\xFF\n", f);
  EXPECT_EQ(s.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(s.line(), 1);

  s = Detect("\n\nHello\tBonjour\nYes\tOui\n", f);
  EXPECT_EQ(s.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(s.line(), 3);  // the first line that is not blank
  EXPECT_NE(s.reason().find("no Chinese"), std::string::npos);
}

TEST_F(ImportFormatTest, LinesOverAMegabyteRefuseTheFile) {
  // Plain text first, so that the lines looked at for the format are fine.
  WriteBytes(file_, "我们。\nFine.\n" + std::string(kMaxLineBytes, 'x') + "\nafter\n");
  EXPECT_TRUE(CheckLineLengths(file_).ok());  // exactly the limit
  WriteBytes(file_, "我们。\nFine.\n" + std::string(kMaxLineBytes + 1, 'x') + "\nafter\n");
  const Status s = CheckLineLengths(file_);
  EXPECT_EQ(s.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(s.line(), 3);
  // In UTF-16 a 0A byte inside a character ends no line.
  std::string utf16 = "\xFF\xFE";
  for (int64_t i = 0; i < kMaxLineBytes / 2 + 1; ++i) utf16 += "\x0A\x4E";  // U+4E0A
  WriteBytes(file_, utf16);
  EXPECT_EQ(CheckLineLengths(file_).line(), 1);
  EXPECT_EQ(CheckLineLengths(folder_ / "missing").kind(), Status::Kind::kNotFound);
}

TEST_F(ImportFormatTest, FolderAndMissingFile) {
  DetectedFormat f;
  Status s = DetectImportFormat(folder_ / "BDict", f);
  EXPECT_EQ(s.kind(), Status::Kind::kIoError);
  EXPECT_EQ(s.reason(), "is a folder, not a regular file");
  EXPECT_EQ(DetectImportFormat(folder_ / "missing.tsv", f).kind(), Status::Kind::kNotFound);
}

// A FIFO with no writer once made the detection wait forever.
TEST_F(ImportFormatTest, AFifoIsRefusedAtOnce) {
  const auto fifo = folder_ / "fifo.tsv";
  test::MakeFifo(fifo);
  DetectedFormat f;
  Status detected, lengths;
  EXPECT_TRUE(test::ReturnsWithin(5, {fifo}, [&] {
    detected = DetectImportFormat(fifo, f);
    lengths = CheckLineLengths(fifo);
  }));
  for (const Status& s : {detected, lengths}) {
    EXPECT_EQ(s.kind(), Status::Kind::kIoError) << s.ToString();
    EXPECT_EQ(s.file(), fifo);
    EXPECT_EQ(s.reason(), "is a FIFO, not a regular file");
  }
  EXPECT_EQ(DetectImportFormat("/dev/zero", f).reason(), "is a device, not a regular file");
}

}  // namespace
}  // namespace tamrel
