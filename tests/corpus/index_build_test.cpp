#include "corpus/index_build.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>

#include "corpus/corpus_files.h"
#include "files/staged_file.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::ReadBytes;
using test::RuntimeFolder;
using test::StringsOf;
using test::U32;
using test::U64;
using test::WriteBytes;

// One word table record: the key as 51 UTF-16LE units (key, terminator, zeros), two zero bytes,
// then the posting offset.
std::string Record(std::u16string_view key, uint64_t offset) {
  std::string r;
  for (size_t i = 0; i < 51; ++i) {
    const char16_t unit = i < key.size() ? key[i] : 0;
    r += static_cast<char>(unit & 0xFF);
    r += static_cast<char>(unit >> 8);
  }
  return r + std::string(2, '\0') + U64(offset);
}

// One token block: the count, a zero, the 64-bit word IDs.
std::string Tokens(std::initializer_list<uint64_t> ids) {
  std::string b = U32(static_cast<uint32_t>(ids.size())) + U32(0);
  for (uint64_t id : ids) b += U64(id);
  return b;
}

std::string File(const RuntimeFolder& folder, CorpusFile f, std::u16string_view tag = u"BI") {
  return ReadBytes(CorpusFileName(folder.path(), f, tag));
}

void WriteSources(const RuntimeFolder& folder, std::string_view dictionary, std::string_view sentences,
                  std::u16string_view tag = u"BI") {
  WriteBytes(CorpusFileName(folder.path(), CorpusFile::kDictionary, tag), dictionary);
  WriteBytes(CorpusFileName(folder.path(), CorpusFile::kSentences, tag), sentences);
}

// Regular files left in data/.
std::set<std::string> DataFiles(const RuntimeFolder& folder) {
  std::set<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder / "data")) {
    if (e.is_regular_file()) names.insert(e.path().filename().string());
  }
  return names;
}

const std::string kKey50 = "2" + std::string(49, 'a');
const std::string kKey51 = "3" + std::string(50, 'x');

TEST(IndexBuildTest, FourFilesByteForByte) {
  RuntimeFolder folder;
  WriteSources(folder,
               "0我\t0:1 2:2\n"
               "0你\t1:3\n" +
                   kKey51 + "\t0:1\n" +  // too long: no word ID, no block
                   "1wo\t0:1\n"
                   "0我\t1:5 2:6\n"  // repeated key: the later line wins
                   "3I\t0:1 1:1\r\n" +
                   kKey50 + "\t2:7",
               "我 你\nwo ni\nI\n"
               "\nwo\nI you\n"  // empty Chinese line; "1ni" and "3you" are not in the dictionary
               "我");           // the file ends inside the third group
  BuildReport report;
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI", &report).ok());

  EXPECT_EQ(File(folder, CorpusFile::kPostings), U32(2) + U32(0) + U32(2) + U32(1) + U32(2) +      // 0我 at 0
                                                     U32(1) + U32(1) + U32(3) +                    // 0你 at 20
                                                     U32(1) + U32(0) + U32(1) +                    // 1wo at 32
                                                     U32(2) + U32(1) + U32(2) + U32(5) + U32(6) +  // 0我 at 44
                                                     U32(2) + U32(0) + U32(1) + U32(1) + U32(1) +  // 3I at 64
                                                     U32(1) + U32(2) + U32(7));                    // 2a... at 84
  const std::u16string key50 = u"2" + std::u16string(49, u'a');
  EXPECT_EQ(File(folder, CorpusFile::kWordTable), U32(6) + Record(u"0我", 44) + Record(u"0你", 20) +
                                                      Record(u"1wo", 32) + Record(u"0我", 44) + Record(u"3I", 64) +
                                                      Record(key50, 84));
  EXPECT_EQ(File(folder, CorpusFile::kSentenceRecords), Tokens({3, 1}) + Tokens({2, 0}) + Tokens({4}) +  // at 0
                                                            Tokens({}) + Tokens({2}) + Tokens({4, 0}) +  // at 64
                                                            Tokens({3}) + Tokens({}) + Tokens({}));      // at 112
  EXPECT_EQ(File(folder, CorpusFile::kSentenceTable), U32(3) + U64(0) + U64(64) + U64(112));

  EXPECT_EQ(report.dictionaryLines, 7);
  EXPECT_EQ(report.longKeys, 1);
  EXPECT_EQ(report.skippedLines, 0);
  EXPECT_EQ(report.sentenceGroups, 3);
  EXPECT_EQ(DataFiles(folder), (std::set<std::string>{"index1.datBI", "index11.datBI", "index2.datBI", "index21.datBI",
                                                      "index.lockBI", "stamp.datBI", "keytable.datBI"}));
}

TEST(IndexBuildTest, OnlyLongKeysGiveEmptyTables) {
  RuntimeFolder folder;
  WriteSources(folder, kKey51 + "\t1:1\n" + kKey51 + "y\t2:2\n", "", u"MO");
  ASSERT_TRUE(BuildCorpus(folder.path(), u"MO").ok());
  EXPECT_EQ(File(folder, CorpusFile::kPostings, u"MO"), "");
  EXPECT_EQ(File(folder, CorpusFile::kWordTable, u"MO"), U32(0));
  EXPECT_EQ(File(folder, CorpusFile::kSentenceRecords, u"MO"), "");
  EXPECT_EQ(File(folder, CorpusFile::kSentenceTable, u"MO"), U32(0));
  EXPECT_FALSE(std::filesystem::exists(CorpusFileName(folder.path(), CorpusFile::kWordTable, u"BI")));
}

TEST(IndexBuildTest, InMemoryResultOfWordIndex) {
  RuntimeFolder folder;
  WriteSources(folder, "0你好\t0:1 5:2\n2hello\t3:1\n2hello\t4:1\n", "");
  CorpusIndex index(folder.path(), u"BI");
  ASSERT_TRUE(BuildWordIndex(index).ok());
  EXPECT_EQ(StringsOf(index.words()), (std::vector<std::u16string>{u"0你好", u"2hello", u"2hello"}));
  EXPECT_EQ(index.WordId(u"0你好"), 0u);
  EXPECT_EQ(index.WordId(u"2hello"), 2u);
  EXPECT_EQ(index.PostingOffset(u"0你好"), 0u);
  EXPECT_EQ(index.PostingOffset(u"2hello"), 32u);
  EXPECT_EQ(StringsOf(index.englishWords()), (std::vector<std::u16string>{u"hello", u"hello"}));
  EXPECT_EQ(StringsOf(index.chineseWords()), (std::vector<std::u16string>{u"你好"}));
  // Nothing is in place before BuildCorpus commits; the staged word table gives both records of
  // the repeated key the offset of its last block.
  const auto wordTable = CorpusFileName(folder.path(), CorpusFile::kWordTable, u"BI");
  EXPECT_FALSE(std::filesystem::exists(wordTable));
  EXPECT_EQ(ReadBytes(StagedFileName(wordTable)),
            U32(3) + Record(u"0你好", 0) + Record(u"2hello", 32) + Record(u"2hello", 32));
  EXPECT_EQ(StagedFileName(wordTable), folder / "data/index1.datBI.new");
}

TEST(IndexBuildTest, BarePrefixKeyTakesEmptyTokens) {
  RuntimeFolder folder;
  WriteSources(folder, "0我\t0:1\n0\t0:1\n", "我  我\n 我\n\n");
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  EXPECT_EQ(File(folder, CorpusFile::kSentenceRecords), Tokens({0, 1, 0}) + Tokens({0, 0}) + Tokens({}));
}

TEST(IndexBuildTest, Utf16Dictionary) {
  RuntimeFolder folder;
  std::string dictionary("\xFF\xFE", 2);
  for (char16_t c : std::u16string_view(u"2hi\t0:1\r\n0我\t0:2\n")) {
    dictionary += static_cast<char>(c & 0xFF);
    dictionary += static_cast<char>(c >> 8);
  }
  WriteSources(folder, dictionary, "我\n\n\n");
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI").ok());
  // The mark stays on the first key, as on any first line.
  EXPECT_EQ(File(folder, CorpusFile::kWordTable), U32(2) + Record(u"\uFEFF2hi", 0) + Record(u"0我", 12));
  EXPECT_EQ(File(folder, CorpusFile::kPostings), U32(1) + U32(0) + U32(1) + U32(1) + U32(0) + U32(2));
  EXPECT_EQ(File(folder, CorpusFile::kSentenceRecords), Tokens({1}) + Tokens({}) + Tokens({}));
}

// How sentence lines become token blocks: each line is cut at every space, its prefix (0 Chinese,
// 1 pinyin, 3 English) is put before each token, and a key that is not in the dictionary gets
// word ID 0.
TEST(SentenceRecordsTest, TokensOfEachLine) {
  RuntimeFolder folder;
  // Word IDs 0 ... 11 in dictionary order.
  WriteSources(folder,
               "0a\t0:1\n0b\t0:1\n0你\t0:1\n0c\t0:1\n0d\t0:1\n0我\t0:1\n"
               "0e\t0:1\n0f\t0:1\n0g\t0:1\n0爱\t0:1\n3我\t0:1\n1我\t0:1\n",
               "我 爱 你\n"  // 0我 0爱 0你
               " 我\n"       // a leading space: the empty token "1" is missing, then 1我
               "我\n"        // 3我
               "我 他 你\n"  // 0他 is missing
               "\n"          // an empty line: no tokens
               "我\n"        // 3我
               "我  你 \n"   // a double space gives an empty token; a trailing one gives none
               "他\n"        // 1他 is missing
               "");          // the file ends inside the group: the English line is empty
  BuildReport report;
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI", &report).ok());
  EXPECT_EQ(report.sentenceGroups, 3);
  EXPECT_EQ(File(folder, CorpusFile::kSentenceRecords),
            U32(3) + U32(0) + U64(5) + U64(9) + U64(2) +      // group 0 at 0
                U32(2) + U32(0) + U64(0) + U64(11) +          //
                U32(1) + U32(0) + U64(10) +                   //
                U32(3) + U32(0) + U64(5) + U64(0) + U64(2) +  // group 1 at 72
                U32(0) + U32(0) +                             //
                U32(1) + U32(0) + U64(10) +                   //
                U32(3) + U32(0) + U64(5) + U64(0) + U64(2) +  // group 2 at 128
                U32(1) + U32(0) + U64(0) +                    //
                U32(0) + U32(0));
  EXPECT_EQ(File(folder, CorpusFile::kSentenceTable), U32(3) + U64(0) + U64(72) + U64(128));
}

// The build reads sentence groups in batches; records and offsets run on unbroken across them.
TEST(SentenceRecordsTest, ManyGroups) {
  RuntimeFolder folder;
  std::string sentences;
  for (int g = 0; g < 150; ++g) sentences += g % 2 == 0 ? "我\nwo\nI\n" : "\n\nI I\n";
  WriteSources(folder, "0我\t0:1\n1wo\t0:1\n3I\t0:1\n", sentences);
  BuildReport report;
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI", &report).ok());
  EXPECT_EQ(report.sentenceGroups, 150);
  // An even group is three one-token blocks (48 bytes), an odd one two empty blocks and a
  // two-token block (40 bytes).
  const std::string even = U32(1) + U32(0) + U64(0) + U32(1) + U32(0) + U64(1) + U32(1) + U32(0) + U64(2);
  const std::string odd = U32(0) + U32(0) + U32(0) + U32(0) + U32(2) + U32(0) + U64(2) + U64(2);
  std::string records;
  std::string table = U32(150);
  for (int g = 0; g < 150; ++g) {
    table += U64(records.size());
    records += g % 2 == 0 ? even : odd;
  }
  ASSERT_EQ(records.size(), 75u * 48 + 75u * 40);
  EXPECT_EQ(File(folder, CorpusFile::kSentenceRecords), records);
  EXPECT_EQ(File(folder, CorpusFile::kSentenceTable), table);
}

TEST(DictionaryLayoutTest, BrokenLinesSkippedAndCounted) {
  RuntimeFolder folder;
  WriteSources(folder,
               "no tab here\n"                             // 1
               "2ok\t1:1\n"                                // 2: word ID 0
               "\t1:1\n"                                   // 3: empty key
               "2empty\t\n"                                // 4: empty posting field
               "2two\t1:1  2:2\n"                          // 5: empty item
               "2lead\t 1:1\n"                             // 6: leading space
               "2nocolon\t1:1 2\n"                         // 7
               "\n"                                        // 8: blank line
               "2odd\t5: :7 1:2:3 x:y 4:2\tthird field\n"  // 9: word ID 1
               "2trail\t9:9 \n",                           // 10: a trailing space adds no item; word ID 2
               "");
  BuildReport report;
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI", &report).ok());
  EXPECT_EQ(report.dictionaryLines, 10);
  EXPECT_EQ(report.skippedLines, 7);
  ASSERT_FALSE(report.firstSkipped.empty());
  const std::vector<int64_t> skipped = {1, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(report.firstSkipped, std::vector<int64_t>(skipped.begin(), skipped.begin() + report.firstSkipped.size()));
  EXPECT_EQ(File(folder, CorpusFile::kWordTable),
            U32(3) + Record(u"2ok", 0) + Record(u"2odd", 12) + Record(u"2trail", 56));
  EXPECT_EQ(File(folder, CorpusFile::kPostings), U32(1) + U32(1) + U32(1) +                                 //
                                                     U32(5) + U32(5) + U32(0) + U32(1) + U32(0) + U32(4) +  // ids
                                                     U32(0) + U32(7) + U32(2) + U32(0) + U32(2) +           // seconds
                                                     U32(1) + U32(9) + U32(9));
}

TEST(IndexBuildTest, ProgressReportedForLongDictionaries) {
  RuntimeFolder folder;
  std::string dictionary;
  for (int i = 0; i < 70000; ++i) dictionary += "0w" + std::to_string(i) + "\t0:1\n";
  WriteSources(folder, dictionary, "w0\n\n\n");
  BuildReport report;
  std::vector<BuildProgress> seen;
  report.onProgress = [&](const BuildProgress& p) { seen.push_back(p); };
  ASSERT_TRUE(BuildCorpus(folder.path(), u"BI", &report).ok());
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().source, CorpusFile::kDictionary);
  EXPECT_EQ(seen.front().bytesTotal, static_cast<int64_t>(dictionary.size()));
  EXPECT_GT(seen.front().lines, 0);
  EXPECT_LE(seen.front().bytesRead, seen.front().bytesTotal);
}

class InterruptedBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSources(folder_, "0旧\t0:1\n", "旧\njiu\nold\n");
    ASSERT_TRUE(BuildCorpus(folder_.path(), u"BI").ok());
    for (CorpusFile f : kIndexFiles) before_.push_back(File(folder_, f));
    WriteSources(folder_, "0新\t0:1 1:1\n1xin\t0:1\n", "新\nxin\nnew\n新\n\n\n");
  }

  void ExpectOldIndexWhole() {
    for (size_t i = 0; i < kIndexFiles.size(); ++i) EXPECT_EQ(File(folder_, kIndexFiles[i]), before_[i]);
    EXPECT_EQ(DataFiles(folder_),
              (std::set<std::string>{"index1.datBI", "index11.datBI", "index2.datBI", "index21.datBI", "index.lockBI",
                                     "stamp.datBI", "keytable.datBI"}));
  }

  std::filesystem::path Path(CorpusFile f) const { return CorpusFileName(folder_.path(), f, u"BI"); }

  static constexpr std::array<CorpusFile, 4> kIndexFiles = {CorpusFile::kWordTable, CorpusFile::kPostings,
                                                            CorpusFile::kSentenceTable, CorpusFile::kSentenceRecords};
  RuntimeFolder folder_;
  std::vector<std::string> before_;
};

TEST_F(InterruptedBuildTest, ThirdFileCannotBeCreated) {
  const auto blocked = StagedFileName(Path(CorpusFile::kSentenceRecords));
  std::filesystem::create_directory(blocked);
  std::filesystem::create_directory(blocked / "keep");  // not empty, so it survives the cleanup
  BuildReport report;
  const Status status = BuildCorpus(folder_.path(), u"BI", &report);
  EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
  EXPECT_EQ(status.file(), blocked);
  ExpectOldIndexWhole();
}

// A folder in the way of an index file would make its rename fail halfway through the commit;
// the build refuses it before anything is renamed.
TEST_F(InterruptedBuildTest, FolderInPlaceOfAnIndexFile) {
  const auto blocked = Path(CorpusFile::kSentenceRecords);
  const std::string bytes = ReadBytes(blocked);
  std::filesystem::remove(blocked);
  std::filesystem::create_directories(blocked / "keep");
  BuildReport report;
  const Status status = BuildCorpus(folder_.path(), u"BI", &report);
  EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
  EXPECT_EQ(status.file(), blocked);
  std::filesystem::remove_all(blocked);
  WriteBytes(blocked, bytes);
  ExpectOldIndexWhole();
}

TEST_F(InterruptedBuildTest, SentenceFileMissing) {
  std::filesystem::remove(Path(CorpusFile::kSentences));
  BuildReport report;
  const Status status = BuildCorpus(folder_.path(), u"BI", &report);
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound) << status.ToString();
  EXPECT_EQ(status.file(), Path(CorpusFile::kSentences));
  ExpectOldIndexWhole();
}

// A folder in place of a source file once read as an empty file, and the build then replaced a
// whole index by an empty one.
TEST_F(InterruptedBuildTest, SourceIsAFolder) {
  for (CorpusFile source : {CorpusFile::kDictionary, CorpusFile::kSentences}) {
    const auto path = Path(source);
    const std::string bytes = ReadBytes(path);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    BuildReport report;
    const Status status = BuildCorpus(folder_.path(), u"BI", &report);
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.file(), path);
    ExpectOldIndexWhole();
    std::filesystem::remove(path);
    WriteBytes(path, bytes);
  }
}

// A FIFO in place of a source once made the build wait for a writer forever; it is refused at
// once, and the old index stays.
TEST_F(InterruptedBuildTest, SourceIsAFifo) {
  for (CorpusFile source : {CorpusFile::kDictionary, CorpusFile::kSentences}) {
    const auto path = Path(source);
    const std::string bytes = ReadBytes(path);
    test::MakeFifo(path);
    Status status;
    EXPECT_TRUE(test::ReturnsWithin(5, {path}, [&] { status = BuildCorpus(folder_.path(), u"BI"); }));
    EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
    EXPECT_EQ(status.file(), path);
    EXPECT_EQ(status.reason(), "is a FIFO, not a regular file");
    ExpectOldIndexWhole();
    std::filesystem::remove(path);
    WriteBytes(path, bytes);
  }
}

TEST_F(InterruptedBuildTest, DictionaryMissing) {
  std::filesystem::remove(Path(CorpusFile::kDictionary));
  BuildReport report;
  const Status status = BuildCorpus(folder_.path(), u"BI", &report);
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound) << status.ToString();
  EXPECT_EQ(status.file(), Path(CorpusFile::kDictionary));
  ExpectOldIndexWhole();
}

// The Build command builds the bilingual corpus, then the monolingual one, and stops at the
// first failure, telling each corpus's end to the caller.
TEST(BuildAllCorporaTest, StopsAtTheFirstFailure) {
  RuntimeFolder folder;
  WriteSources(folder, "0我\t0:1\n", "我\nwo\nI\n", u"BI");
  WriteSources(folder, "0你\t0:1\n", "你\nni\nyou\n", u"MO");
  std::vector<std::pair<std::u16string, bool>> done;
  const auto record = [&](std::u16string_view tag, const BuildReport& report, const Status& status) {
    EXPECT_EQ(report.sentenceGroups, status.ok() ? 1 : 0);
    done.emplace_back(std::u16string(tag), status.ok());
  };
  ASSERT_TRUE(BuildAllCorpora(folder.path(), {}, record).ok());
  EXPECT_EQ(done, (std::vector<std::pair<std::u16string, bool>>{{u"BI", true}, {u"MO", true}}));
  EXPECT_EQ(File(folder, CorpusFile::kWordTable, u"MO"), U32(1) + Record(u"0你", 0));

  std::filesystem::remove(CorpusFileName(folder.path(), CorpusFile::kSentences, u"BI"));
  done.clear();
  const Status status = BuildAllCorpora(folder.path(), {}, record);
  EXPECT_EQ(status.kind(), Status::Kind::kNotFound);
  EXPECT_EQ(status.file(), CorpusFileName(folder.path(), CorpusFile::kSentences, u"BI"));
  EXPECT_EQ(done, (std::vector<std::pair<std::u16string, bool>>{{u"BI", false}}));
}

}  // namespace
}  // namespace tamrel
