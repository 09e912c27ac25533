// Imports end to end: the files written, searching them, appending, and every way an import can
// fail or be cancelled leaving the previous corpus byte for byte.
#include "importer/corpus_import.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <set>
#include <string>

#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "corpus/index_commit.h"
#include "corpus/key_table_file.h"
#include "files/fault_injection.h"
#include "search/search_core.h"
#include "tests/support/character_chinese_text.h"
#include "tests/support/test_support.h"
#include "text/text_utils.h"

namespace tamrel {
namespace {

using test::CharacterChineseText;
using test::ReadBytes;
using test::RuntimeFolder;
using test::WriteBytes;

constexpr CorpusFile kAllFiles[] = {CorpusFile::kSentences, CorpusFile::kDictionary,    CorpusFile::kWordTable,
                                    CorpusFile::kPostings,  CorpusFile::kSentenceTable, CorpusFile::kSentenceRecords};

// The six files of corpus `tag`, by kind ("" for a missing one).
std::map<CorpusFile, std::string> CorpusBytes(const std::filesystem::path& root, std::u16string_view tag = u"BI") {
  std::map<CorpusFile, std::string> bytes;
  for (CorpusFile f : kAllFiles) bytes[f] = ReadBytes(CorpusFileName(root, f, tag));
  return bytes;
}

// Every file of data/ and BDict/ by name: nothing an import leaves behind escapes a comparison.
std::set<std::string> FileNames(const std::filesystem::path& root) {
  std::set<std::string> names;
  for (const char* sub : {"BDict", "data"}) {
    for (const auto& e : std::filesystem::directory_iterator(root / sub)) {
      names.insert(std::string(sub) + "/" + e.path().filename().string());
    }
  }
  return names;
}

// The English lines of the results of `query` in corpus `tag`, without the space a result line
// ends with.
std::vector<std::string> Search(const std::filesystem::path& root, std::u16string query,
                                std::u16string_view tag = u"BI") {
  CorpusIndex index(root, tag);
  const Status status = LoadCorpus(index);
  EXPECT_TRUE(status.ok()) << status.ToString();
  std::vector<ResultSentence> results;
  SearchCorpus(query, index, results);
  std::vector<std::string> english;
  for (const ResultSentence& r : results) {
    english.push_back(Utf16ToUtf8(r.english));
    if (!english.back().empty() && english.back().back() == ' ') english.back().pop_back();
  }
  return english;
}

class CorpusImportTest : public ::testing::Test {
 protected:
  Status Import(const std::vector<std::filesystem::path>& files, bool append = false,
                const std::atomic<bool>* cancel = nullptr,
                const std::function<void(const ImportProgress&)>& onProgress = {}) {
    return ImportCorpus(folder_.path(), u"BI", files, append, tools_, &report_, onProgress, cancel);
  }
  // A corpus in place to be kept: one group, prepared and built.
  void WritePreviousCorpus() {
    WriteBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI"), "旧 。\n旧 。\nOld.\n");
    PrepareReport prepared;
    ASSERT_TRUE(PrepareDictionary(folder_.path(), u"BI", prepared).ok());
    ASSERT_TRUE(BuildCorpus(folder_.path(), u"BI").ok());
    previous_ = CorpusBytes(folder_.path());
    previousNames_ = FileNames(folder_.path());
  }
  // The previous corpus is there byte for byte, and nothing else was left behind.
  void ExpectPreviousCorpus() {
    EXPECT_EQ(CorpusBytes(folder_.path()), previous_);
    EXPECT_EQ(FileNames(folder_.path()), previousNames_);
    EXPECT_EQ(Search(folder_.path(), u"old"), std::vector<std::string>{"Old."});
  }

  RuntimeFolder folder_;
  CharacterChineseText tools_;
  ImportReport report_;
  std::map<CorpusFile, std::string> previous_;
  std::set<std::string> previousNames_;
  std::filesystem::path pairs_ = folder_ / "pairs.tsv";
};

TEST_F(CorpusImportTest, PairsBecomeTheSentenceFileAndAreSearchable) {
  WriteBytes(pairs_, "Hi.\t嗨。\tCC-BY 2.0 (France)\nHow   are you?\t你好吗？\tCC-BY\nHi.\t嗨。\tagain\n");
  const Status status = Import({pairs_});
  ASSERT_TRUE(status.ok()) << status.ToString();
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")),
            "嗨 。\n嗨 。\nHi.\n你 好 吗 ？\n你 好 吗 ？\nHow are you?\n");
  EXPECT_EQ(report_.groupsImported, 2);
  EXPECT_EQ(report_.duplicates, 1);
  EXPECT_EQ(report_.linesRead, 3);
  EXPECT_EQ(report_.formats, std::vector<ImportFormat>{ImportFormat::kPairs});
  EXPECT_FALSE(report_.cancelled);
  EXPECT_EQ(Search(folder_.path(), u"you"), std::vector<std::string>{"How are you?"});
  EXPECT_EQ(Search(folder_.path(), u"嗨"), std::vector<std::string>{"Hi."});
  // The dictionary is the one prepare makes from the sentence file.
  const std::string dictionary = ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kDictionary, u"BI"));
  PrepareReport prepared;
  ASSERT_TRUE(PrepareDictionary(folder_.path(), u"BI", prepared).ok());
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kDictionary, u"BI")), dictionary);
  EXPECT_FALSE(std::filesystem::exists(ImportScratchFolder(folder_.path(), u"BI")));
}

TEST_F(CorpusImportTest, ReplaceDropsThePreviousGroupsAppendKeepsThem) {
  WritePreviousCorpus();
  WriteBytes(pairs_, "New.\t新。\nOld.\t旧。\n");
  ASSERT_TRUE(Import({pairs_}, /*append=*/true).ok());
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")),
            "旧 。\n旧 。\nOld.\n新 。\n新 。\nNew.\n");
  EXPECT_EQ(report_.groupsKept, 1);
  EXPECT_EQ(report_.groupsImported, 1);
  EXPECT_EQ(report_.duplicates, 1);  // identical to a group already in the corpus
  EXPECT_EQ(Search(folder_.path(), u"new"), std::vector<std::string>{"New."});
  EXPECT_EQ(Search(folder_.path(), u"old"), std::vector<std::string>{"Old."});

  ASSERT_TRUE(Import({pairs_}).ok());
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")),
            "新 。\n新 。\nNew.\n旧 。\n旧 。\nOld.\n");
  EXPECT_EQ(report_.groupsKept, 0);
}

TEST_F(CorpusImportTest, PlainTextMakesMonolingualGroupsInAFolderWithOnlyThatCorpus) {
  WriteBytes(folder_ / "plain.txt", "\xEF\xBB\xBF我们 试试 吧。\nLet's   try.\n");
  const Status status = ImportCorpus(folder_.path(), u"MO", {folder_ / "plain.txt"}, false, tools_, &report_);
  ASSERT_TRUE(status.ok()) << status.ToString();
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"MO")),
            "我 们 试 试 吧 。\n我 们 试 试 吧 。\n\n\n\nLet's try.\n");
  EXPECT_EQ(Search(folder_.path(), u"try", u"MO"), std::vector<std::string>{"Let's try."});
  EXPECT_FALSE(std::filesystem::exists(CorpusFileName(folder_.path(), CorpusFile::kWordTable, u"BI")));
}

TEST_F(CorpusImportTest, Utf16FileWithMark) {
  const std::u16string text = u"Good night.\t晚安。\r\n";
  std::string bytes = "\xFF\xFE";
  for (char16_t u : text) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
  WriteBytes(pairs_, bytes);
  ASSERT_TRUE(Import({pairs_}).ok());
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")),
            "晚 安 。\n晚 安 。\nGood night.\n");
}

TEST_F(CorpusImportTest, HostileTextImportsAsText) {
  WriteBytes(pairs_,
             "<img src=x onerror=alert(1)>\t<b>好</b>\n"
             "\xE2\x80\x8F"
             "rtl \xE2\x80\xAE"
             "mark\t\xE2\x80\x8F"
             "右\n"
             "Ctrl\x01"
             "char\t控\x07\n"
             "Smile \xF0\x9F\x98\x80.\t笑\xF0\xA0\x80\x80\n");
  ASSERT_TRUE(Import({pairs_}).ok());
  EXPECT_EQ(report_.groupsImported, 4);
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")),
            "< b > 好 < / b >\n< b > 好 < / b >\n<img src=x onerror=alert(1)>\n"
            "\xE2\x80\x8F 右\n\xE2\x80\x8F 右\n\xE2\x80\x8F"
            "rtl \xE2\x80\xAE"
            "mark\n"
            "控 \x07\n控 \x07\nCtrl\x01"
            "char\n"
            "笑 \xF0\xA0\x80\x80\n笑 \xF0\xA0\x80\x80\nSmile \xF0\x9F\x98\x80.\n");
  EXPECT_EQ(Search(folder_.path(), u"smile"), std::vector<std::string>{"Smile \U0001F600."});
  EXPECT_EQ(Search(folder_.path(), u"\U00020000"), std::vector<std::string>{"Smile \U0001F600."});
}

TEST_F(CorpusImportTest, RefusedFilesLeaveThePreviousCorpus) {
  WritePreviousCorpus();
  std::filesystem::create_directory(folder_ / "a-folder");
  WriteBytes(folder_ / "empty.tsv", "");
  WriteBytes(folder_ / "binary.bin", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
  WriteBytes(folder_ / "french.tsv", "Hello\tBonjour\n");
  WriteBytes(pairs_, "Fine.\t好。\n");
  for (const char* name : {"a-folder", "empty.tsv", "binary.bin", "french.tsv", "missing.tsv"}) {
    const Status status = Import({pairs_, folder_ / name});
    EXPECT_FALSE(status.ok()) << name;
    EXPECT_EQ(status.file(), folder_ / name) << status.ToString();
    ExpectPreviousCorpus();
  }
  // A pairs file whose every line is skipped (no English side) leaves nothing to import.
  WriteBytes(folder_ / "skipped.tsv", "\t嗨。\n\t跑。\n");
  const Status status = Import({folder_ / "skipped.tsv"});
  EXPECT_EQ(status.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(report_.skippedLines, 2);
  ExpectPreviousCorpus();
}

// An import file that is a FIFO with no writer once hung the import.
TEST_F(CorpusImportTest, AFifoIsRefusedAtOnceAndLeavesThePreviousCorpus) {
  WritePreviousCorpus();
  const auto fifo = folder_ / "fifo.tsv";
  test::MakeFifo(fifo);
  WriteBytes(pairs_, "Fine.\t好。\n");
  Status status;
  EXPECT_TRUE(test::ReturnsWithin(10, {fifo}, [&] { status = Import({pairs_, fifo}); }));
  EXPECT_EQ(status.kind(), Status::Kind::kIoError) << status.ToString();
  EXPECT_EQ(status.file(), fifo);
  EXPECT_EQ(status.reason(), "is a FIFO, not a regular file");
  ExpectPreviousCorpus();
}

TEST_F(CorpusImportTest, UnwritableFilesLeaveThePreviousCorpus) {
  WritePreviousCorpus();
  WriteBytes(pairs_, "Fine.\t好。\n");
  // A folder where an index file goes: the commit refuses before anything is replaced.
  const auto records = CorpusFileName(folder_.path(), CorpusFile::kSentenceRecords, u"BI");
  const std::string recordBytes = ReadBytes(records);
  std::filesystem::remove(records);
  std::filesystem::create_directories(records / "in-the-way");
  Status status = Import({pairs_});
  EXPECT_EQ(status.kind(), Status::Kind::kIoError);
  EXPECT_EQ(status.file(), records);
  std::filesystem::remove_all(records);
  WriteBytes(records, recordBytes);
  ExpectPreviousCorpus();

  // A folder where the staged sentence file goes: refused before the work begins.
  const auto staged = CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI").string() + ".new";
  std::filesystem::create_directories(std::filesystem::path(staged) / "in-the-way");
  status = Import({pairs_});
  EXPECT_EQ(status.kind(), Status::Kind::kIoError);
  std::filesystem::remove_all(staged);
  ExpectPreviousCorpus();
}

TEST_F(CorpusImportTest, ReadOnlyBDictLeavesThePreviousCorpus) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  WritePreviousCorpus();
  WriteBytes(pairs_, "Fine.\t好。\n");
  std::filesystem::permissions(folder_ / "BDict", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const Status status = Import({pairs_});
  std::filesystem::permissions(folder_ / "BDict", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(status.kind(), Status::Kind::kIoError);
  EXPECT_NE(status.ToString().find("BDict/sents.finalBI.new"), std::string::npos) << status.ToString();
  ExpectPreviousCorpus();
}

TEST_F(CorpusImportTest, CancelAtEveryStageLeavesThePreviousCorpus) {
  WritePreviousCorpus();
  std::string bytes;
  for (int i = 0; i < 9000; ++i)
    bytes += "Sentence number " + std::to_string(i) + ".\t第" + std::to_string(i) + "句。\n";
  WriteBytes(pairs_, bytes);
  for (ImportProgress::Stage stage : {ImportProgress::Stage::kReading, ImportProgress::Stage::kPreparing,
                                      ImportProgress::Stage::kBuilding, ImportProgress::Stage::kCommitting}) {
    std::atomic<bool> cancel{false};
    const Status status = Import({pairs_}, false, &cancel, [&](const ImportProgress& p) {
      if (p.stage == stage) cancel = true;
    });
    EXPECT_FALSE(status.ok()) << static_cast<int>(stage);
    EXPECT_TRUE(report_.cancelled);
    EXPECT_TRUE(status.file().empty());
    ExpectPreviousCorpus();
  }
  std::atomic<bool> cancel{true};
  EXPECT_FALSE(Import({pairs_}, false, &cancel).ok());
  ExpectPreviousCorpus();
}

TEST_F(CorpusImportTest, ProgressRisesToAHundred) {
  std::string bytes;
  for (int i = 0; i < 9000; ++i) bytes += "Sentence " + std::to_string(i) + ".\t句" + std::to_string(i) + "。\n";
  WriteBytes(pairs_, bytes);
  std::vector<ImportProgress> seen;
  ASSERT_TRUE(Import({pairs_}, false, nullptr, [&](const ImportProgress& p) { seen.push_back(p); }).ok());
  ASSERT_GE(seen.size(), 4u);
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_GE(seen[i].percent, seen[i - 1].percent);
    EXPECT_GE(seen[i].linesRead, seen[i - 1].linesRead);
  }
  EXPECT_GT(seen.front().linesRead, 0);
  EXPECT_EQ(seen.back().stage, ImportProgress::Stage::kDone);
  EXPECT_EQ(seen.back().percent, 100);
  EXPECT_EQ(seen.back().sentences, 9000);
  EXPECT_EQ(seen.back().linesRead, 9000);
  EXPECT_GT(seen.back().sentencesPerSecond, 0);
}

TEST_F(CorpusImportTest, BrokenGroupsOfTheCorpusAppendedToAreNamedInIt) {
  // A tab in the previous sentence file: prepare refuses it, and the message names that file.
  WriteBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI"), "旧\t。\n旧 。\nOld.\n");
  WriteBytes(pairs_, "Fine.\t好。\n");
  const Status status = Import({pairs_}, /*append=*/true);
  EXPECT_EQ(status.kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(status.file(), CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI"));
  EXPECT_EQ(status.line(), 1);
  EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")), "旧\t。\n旧 。\nOld.\n");
}

TEST_F(CorpusImportTest, LeftoversOfAKilledImportAreCleared) {
  WritePreviousCorpus();
  // What an import killed before its commit record leaves: a scratch folder and staged files.
  std::filesystem::create_directories(ImportScratchFolder(folder_.path(), u"BI") / "BDict");
  WriteBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI").string() + ".new", "半 。\n半 。\nHalf.\n");
  WriteBytes(CorpusFileName(folder_.path(), CorpusFile::kWordTable, u"BI").string() + ".new", "half");
  EXPECT_EQ(Search(folder_.path(), u"old"), std::vector<std::string>{"Old."});  // a load recovers
  EXPECT_FALSE(
      std::filesystem::exists(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI").string() + ".new"));
  WriteBytes(pairs_, "Fine.\t好。\n");
  ASSERT_TRUE(Import({pairs_}, true).ok());
  EXPECT_EQ(Search(folder_.path(), u"fine"), std::vector<std::string>{"Fine."});
  EXPECT_FALSE(std::filesystem::exists(ImportScratchFolder(folder_.path(), u"BI")));
}

// A failure once the commit record is written: the import has taken effect, whatever else fails.
// A second try finishes the commit at once; when that fails too, the import says kUnfinished
// (not that the corpus was not changed), and the next load finishes it.
TEST_F(CorpusImportTest, FailureAfterTheCommitRecordSaysTheImportTookEffect) {
  const auto wordTable = CorpusFileName(folder_.path(), CorpusFile::kWordTable, u"BI");
  for (const int times : {1, 2}) {
    WritePreviousCorpus();
    WriteBytes(pairs_, "Fine.\t好。\n");
    InjectFileFault(FileOperation::kRename, wordTable, EIO, times);
    const Status status = Import({pairs_}, /*append=*/true);
    ClearFileFaults();
    if (times == 1) {
      EXPECT_TRUE(status.ok()) << status.ToString();
    } else {
      EXPECT_EQ(status.kind(), Status::Kind::kUnfinished) << status.ToString();
      EXPECT_EQ(status.ToString(), wordTable.string() + ": cannot be replaced: Input/output error");
    }
    EXPECT_FALSE(report_.cancelled);
    EXPECT_EQ(report_.groupsImported, 1);
    EXPECT_EQ(report_.groupsKept, 1);
    EXPECT_EQ(Search(folder_.path(), u"fine"), std::vector<std::string>{"Fine."});
    EXPECT_EQ(Search(folder_.path(), u"old"), std::vector<std::string>{"Old."});
    EXPECT_EQ(ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kSentences, u"BI")),
              "旧 。\n旧 。\nOld.\n好 。\n好 。\nFine.\n");
    // Nothing is left once the load has finished the commit.
    std::set<std::string> names = FileNames(folder_.path());
    names.erase("data/keytable.datBI");
    EXPECT_EQ(names, (std::set<std::string>{"BDict/sents.finalBI", "BDict/word.dictBI", "data/index.lockBI",
                                            "data/index1.datBI", "data/index11.datBI", "data/index2.datBI",
                                            "data/index21.datBI", "data/stamp.datBI"}));
  }
}

// The import writes the key table file of the index in place from the keys its build held: the
// file a load would make from the word table in place, with the stamp of the import's commit.
TEST_F(CorpusImportTest, TheKeyTableFileIsTheOneALoadOfTheNewIndexMakes) {
  WritePreviousCorpus();
  WriteBytes(pairs_, "How are you?\t你好吗？\nFine.\t好。\n");
  ASSERT_TRUE(Import({pairs_}).ok());
  const auto keyFile = KeyTableFileName(folder_.path(), u"BI");
  const std::string written = ReadBytes(keyFile);
  std::filesystem::remove(keyFile);
  CorpusIndex loaded(folder_.path(), u"BI");
  ASSERT_TRUE(LoadWordTable(loaded).ok());
  const std::string wordTable = ReadBytes(CorpusFileName(folder_.path(), CorpusFile::kWordTable, u"BI"));
  const WordTableIdentity identity{wordTable, ReadBuildStamp(folder_.path(), u"BI")};
  EXPECT_TRUE(written == EncodeKeyTableFile(loaded.words(), loaded.wordIds(), identity));
}

TEST_F(CorpusImportTest, WrongTagOrNoFile) {
  EXPECT_EQ(ImportCorpus(folder_.path(), u"XX", {pairs_}, false, tools_).kind(), Status::Kind::kInvalidInput);
  EXPECT_EQ(ImportCorpus(folder_.path(), u"BI", {}, false, tools_).kind(), Status::Kind::kInvalidInput);
}

// The English lines of an import of the raw Tatoeba pairs are those of the shared corpus made
// from them, group for group, once the repeated pairs (imported once) are left out of the latter.
TEST(TatoebaImportTest, EnglishLinesMatchTheSharedCorpus) {
  const auto shared = test::SharedTatoebaFolder();
  if (shared.empty()) GTEST_SKIP() << "the shared Tatoeba corpus is not there";
  const auto pairs = shared.parent_path() / "pairs.tsv";
  RuntimeFolder folder;
  ImportReport report;
  ASSERT_TRUE(ImportCorpus(folder.path(), u"BI", {pairs}, false, CharacterChineseText(), &report).ok());
  EXPECT_EQ(report.linesRead, 27155);
  EXPECT_EQ(report.skippedLines, 0);
  EXPECT_EQ(report.groupsImported + report.duplicates, 27155);

  const auto lines = [](const std::filesystem::path& file) {
    std::vector<std::string> all;
    std::string text = ReadBytes(file);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      all.push_back(text.substr(start, end - start));
    }
    return all;
  };
  const std::vector<std::string> imported = lines(CorpusFileName(folder.path(), CorpusFile::kSentences, u"BI"));
  const std::vector<std::string> reference = lines(shared / "sents.finalBI");
  const std::vector<std::string> raw = lines(pairs);
  ASSERT_EQ(reference.size(), 3 * raw.size());
  std::set<std::string> seen;
  size_t group = 0;
  size_t matched = 0;
  for (size_t i = 0; i < raw.size(); ++i) {
    const size_t tab = raw[i].find('\t');
    const std::string key = raw[i].substr(0, raw[i].find('\t', tab + 1));
    if (!seen.insert(key).second) continue;  // a repeated pair, imported once
    ASSERT_LT(3 * group + 2, imported.size());
    matched += imported[3 * group + 2] == reference[3 * i + 2];
    ++group;
  }
  EXPECT_EQ(group, static_cast<size_t>(report.groupsImported));
  EXPECT_EQ(matched, group);
}

}  // namespace
}  // namespace tamrel
