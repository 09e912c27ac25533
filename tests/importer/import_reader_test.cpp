#include "importer/import_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::RuntimeFolder;
using test::WriteBytes;

// "CHINESE|ENGLISH@LINE" for every sentence read.
struct Collected {
  std::vector<std::string> sentences;
  ImportReadReport report;
  Status status;
};

Collected ReadAll(const std::vector<std::filesystem::path>& files) {
  Collected c;
  ImportReader reader;
  c.status = reader.Open(files);
  if (!c.status.ok()) return c;
  c.status = reader.Read(
      [&](const RawSentence& s) {
        c.sentences.push_back(Utf16ToUtf8(s.chinese) + "|" + Utf16ToUtf8(s.english) + "@" + std::to_string(s.line));
      },
      {}, c.report);
  return c;
}

TEST(ImportReaderTest, PairsKeepTextAsWrittenAndIgnoreExtraColumns) {
  RuntimeFolder folder;
  WriteBytes(folder / "pairs.tsv", "Hi.\t嗨。\tCC-BY 2.0\n\n  Run!  \t 你 用 跑 的。\tattribution\textra\n");
  const Collected c = ReadAll({folder / "pairs.tsv"});
  ASSERT_TRUE(c.status.ok()) << c.status.ToString();
  EXPECT_EQ(c.sentences, (std::vector<std::string>{"嗨。|Hi.@1", " 你 用 跑 的。|  Run!  @3"}));
  EXPECT_EQ(c.report.linesRead, 2);  // the blank line is not counted
  EXPECT_EQ(c.report.skippedLines, 0);
}

TEST(ImportReaderTest, MalformedLinesAreSkippedAndTheFirstFiveNamed) {
  RuntimeFolder folder;
  std::string bytes = "Hi.\t嗨。\n";                              // 1 good
  bytes += "no tab at all\n";                                     // 2 no Chinese side
  bytes += "Empty Chinese.\t  \n";                                // 3 no Chinese side
  bytes += "\t我们。\n";                                          // 4 no English side
  bytes += "Bad \xFF bytes.\t坏。\n";                             // 5 invalid bytes
  bytes += std::string(4001, 'a') + "\t长。\n";                   // 6 too long
  bytes += "Long but fine.\t" + std::string(3980, 'b') + "好\n";  // 7 under the limit
  bytes += "Another\n";                                           // 8 no Chinese side, not reported
  bytes += "Swapped columns 好\tOK\n";                            // 9: Chinese found in the other column
  WriteBytes(folder / "pairs.tsv", bytes);
  const Collected c = ReadAll({folder / "pairs.tsv"});
  ASSERT_TRUE(c.status.ok()) << c.status.ToString();
  ASSERT_EQ(c.sentences.size(), 3u);
  EXPECT_EQ(c.sentences[0], "嗨。|Hi.@1");
  EXPECT_EQ(c.sentences[1].substr(c.sentences[1].size() - 2), "@7");
  EXPECT_EQ(c.sentences[2], "Swapped columns 好|OK@9");
  EXPECT_EQ(c.report.linesRead, 9);
  EXPECT_EQ(c.report.skippedLines, 6);
  ASSERT_EQ(c.report.firstSkipped.size(), 5u);
  const int64_t lines[] = {2, 3, 4, 5, 6};
  const char* reasons[] = {"no Chinese side", "no Chinese side", "no English side",
                           "holds bytes that are not UTF-8 text", "longer than 4000 characters"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(c.report.firstSkipped[i].line, lines[i]);
    EXPECT_EQ(c.report.firstSkipped[i].reason, reasons[i]);
    EXPECT_EQ(c.report.firstSkipped[i].file, folder / "pairs.tsv");
  }
}

TEST(ImportReaderTest, FourThousandCharactersOutsideTheBmpAreNotTooLong) {
  // 4000 characters of two UTF-16 units each: the limit counts characters.
  RuntimeFolder folder;
  std::string emoji;
  for (int i = 0; i < 3990; ++i) emoji += "\xF0\x9F\x98\x80";
  WriteBytes(folder / "pairs.tsv", "Smile.\t笑" + emoji + "\n");
  const Collected c = ReadAll({folder / "pairs.tsv"});
  EXPECT_EQ(c.sentences.size(), 1u);
  EXPECT_EQ(c.report.skippedLines, 0);
}

TEST(ImportReaderTest, PlainTextSortsLinesByScript) {
  RuntimeFolder folder;
  WriteBytes(folder / "plain.txt", "我们试试吧。\r\nLet's try.\r\n\r\nTom 是 DJ。\r\n");
  const Collected c = ReadAll({folder / "plain.txt"});
  ASSERT_TRUE(c.status.ok());
  EXPECT_EQ(c.sentences, (std::vector<std::string>{"我们试试吧。|@1", "|Let's try.@2", "Tom 是 DJ。|@4"}));
}

TEST(ImportReaderTest, SentencesJoinedThroughLinksOnceEach) {
  RuntimeFolder folder;
  WriteBytes(folder / "sentences.csv",
             "1\tcmn\t我们试试吧。\n2\teng\tLet's try something.\n3\tfra\tEssayons.\n4\teng\tLet us try.\n"
             "5\tcmn\t我得走了。\n6\teng\tI have to go.\nbroken\n7\tcmn\t\n");
  WriteBytes(folder / "links.csv", "1\t2\n2\t1\n1\t3\n4\t1\n5\t6\n6\t5\n9\t10\nx\ty\n");
  const Collected c = ReadAll({folder / "links.csv", folder / "sentences.csv"});
  ASSERT_TRUE(c.status.ok()) << c.status.ToString();
  EXPECT_EQ(c.sentences, (std::vector<std::string>{"我们试试吧。|Let's try something.@1", "我们试试吧。|Let us try.@4",
                                                   "我得走了。|I have to go.@5"}));
  EXPECT_EQ(c.report.skippedLines, 3);  // "broken", the empty cmn sentence, "x y"
  EXPECT_EQ(c.report.firstSkipped[0].file, folder / "sentences.csv");
  EXPECT_EQ(c.report.firstSkipped[0].line, 7);
  EXPECT_EQ(c.report.firstSkipped[2].file, folder / "links.csv");
  EXPECT_EQ(c.report.firstSkipped[2].line, 8);
}

TEST(ImportReaderTest, SentencesWithoutLinksAreRefused) {
  RuntimeFolder folder;
  WriteBytes(folder / "sentences.csv", "1\tcmn\t我们试试吧。\n2\teng\tLet's try.\n");
  WriteBytes(folder / "links.csv", "1\t2\n");
  Collected c = ReadAll({folder / "sentences.csv"});
  EXPECT_EQ(c.status.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(c.status.file(), folder / "sentences.csv");
  c = ReadAll({folder / "links.csv"});
  EXPECT_EQ(c.status.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(c.status.file(), folder / "links.csv");
}

TEST(ImportReaderTest, OneBadFileRefusesTheImportBeforeAnythingIsRead) {
  RuntimeFolder folder;
  WriteBytes(folder / "good.tsv", "Hi.\t嗨。\n");
  WriteBytes(folder / "empty.tsv", "");
  const Collected c = ReadAll({folder / "good.tsv", folder / "empty.tsv"});
  EXPECT_EQ(c.status.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(c.status.file(), folder / "empty.tsv");
  EXPECT_TRUE(c.sentences.empty());
}

TEST(ImportReaderTest, TickStopsTheReading) {
  RuntimeFolder folder;
  std::string bytes;
  for (int i = 0; i < 10000; ++i) bytes += "S" + std::to_string(i) + ".\t句。\n";
  WriteBytes(folder / "pairs.tsv", bytes);
  ImportReader reader;
  ASSERT_TRUE(reader.Open({folder / "pairs.tsv"}).ok());
  ImportReadReport report;
  int sentences = 0;
  int ticks = 0;
  ASSERT_TRUE(reader.Read([&](const RawSentence&) { ++sentences; }, [&] { return ++ticks < 2; }, report).ok());
  EXPECT_TRUE(reader.stopped());
  EXPECT_EQ(ticks, 2);
  EXPECT_LT(sentences, 10000);
  EXPECT_GT(reader.bytesRead(), 0);
  EXPECT_LE(reader.bytesRead(), reader.totalBytes());
}

}  // namespace
}  // namespace tamrel
