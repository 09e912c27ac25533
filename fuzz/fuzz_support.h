// Helpers shared by the fuzzers: one temporary runtime folder per process (made on first use,
// reused by every input, removed at exit), whole-file byte I/O, a small valid corpus written by
// the harness itself, and a routine that drives a loaded index through every read path. A new
// fuzzer needs LLVMFuzzerTestOneInput, these helpers and one add_tamrel_fuzzer line.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "corpus/corpus_files.h"
#include "corpus/corpus_index.h"
#include "corpus/dict_prepare.h"
#include "corpus/index_build.h"
#include "corpus/index_records.h"
#include "search/query.h"
#include "search/search_core.h"

// Stops the run as a crash, with the broken property named, so that libFuzzer saves the input.
#define TAMREL_FUZZ_CHECK(condition)                                                        \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

namespace tamrel::fuzz {

// Where temporary folders go: $TMPDIR, else /dev/shm, else /tmp. Memory is preferred because
// every input rewrites files in place, and on a disk file system (ext4 flushes a file truncated
// and rewritten when it is closed) that makes a run some ten times slower.
inline std::string TempBase() {
  const char* tmp = std::getenv("TMPDIR");
  if (tmp != nullptr && *tmp != '\0') return tmp;
  std::error_code ignored;
  if (std::filesystem::is_directory("/dev/shm", ignored)) return "/dev/shm";
  return "/tmp";
}

// A fresh folder holding BDict/ and data/, removed with everything in it when the object goes
// (at process exit for the shared one). A run stopped by a crash leaves it behind.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = TempBase() + "/tamrel-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    path_ = pattern;
    std::filesystem::create_directories(path_ / "BDict");
    std::filesystem::create_directories(path_ / "data");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The runtime folder of this process, made once and reused by every input.
inline const std::filesystem::path& RuntimeFolder() {
  static const TempFolder folder;
  return folder.path();
}

// Removes every file under data/ and BDict/ of `root`, so that one input never sees what an
// earlier one left behind (and the folder cannot grow over a long run).
inline void ClearRuntimeFolder(const std::filesystem::path& root) {
  for (const char* sub : {"data", "BDict"}) {
    std::error_code ignored;
    std::filesystem::remove_all(root / sub, ignored);
    std::filesystem::create_directories(root / sub, ignored);
  }
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
}

inline void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  WriteBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The sentence file of the small corpus: three lines per group (segmented Chinese, pinyin,
// English). The monolingual one holds a Chinese-only and an English-only group.
inline constexpr std::string_view kSmallSentencesBI =
    "你好 ， 我 叫 王小红 。\nnǐhǎo ， wǒ jiào wángxiǎohóng 。\nHello, my name is Wang Xiaohong.\n"
    "我 喜欢 猫 。\nwǒ xǐhuan māo 。\nI like cats.\n"
    "猫 在 桌子 上 。\nmāo zài zhuōzi shàng 。\nThe cat is on the table.\n"
    "你 喜欢 什么 ？\nnǐ xǐhuan shénme ？\nWhat do you like?\n"
    "我们 去 学校 吧 。\nwǒmen qù xuéxiào ba 。\nLet's go to school.\n"
    "今天 很 冷 。\njīntiān hěn lěng 。\nIt is very cold today.\n";
inline constexpr std::string_view kSmallSentencesMO =
    "我 的 猫 很 小 。\nwǒ de māo hěn xiǎo 。\n\n"
    "\n\nThe school is near my home.\n"
    "学校 在 我 家 旁边 。\nxuéxiào zài wǒ jiā pángbiān 。\n\n";

// Queries that find something in the small corpus, one that finds nothing, and odd spacing.
inline const std::vector<std::u16string>& SmallCorpusQueries() {
  static const std::vector<std::u16string> queries = {
      u"hello",      u"cat",     u"like cats",      u"the table is", u"我",   u"喜欢", u"我 喜欢",
      u"猫 桌子 。", u"nothing", u"  cold  today ", u"school",       u"学校", u"0",    u"你好"};
  return queries;
}

// The six files of one corpus of the small corpus, as bytes.
struct CorpusFiles {
  std::string sentences, dictionary, wordTable, postings, sentenceTable, sentenceRecords;
  const std::string& operator[](CorpusFile file) const {
    switch (file) {
      case CorpusFile::kSentences:
        return sentences;
      case CorpusFile::kDictionary:
        return dictionary;
      case CorpusFile::kWordTable:
        return wordTable;
      case CorpusFile::kPostings:
        return postings;
      case CorpusFile::kSentenceTable:
        return sentenceTable;
      case CorpusFile::kSentenceRecords:
        break;
    }
    return sentenceRecords;
  }
};

// Prepares and builds the small corpus `tag` in `root`, aborting when that fails (the harness,
// not the input, is then broken).
inline void BuildSmallCorpus(const std::filesystem::path& root, std::u16string_view tag) {
  WriteBytes(CorpusFileName(root, CorpusFile::kSentences, tag),
             tag == kTagBilingual ? kSmallSentencesBI : kSmallSentencesMO);
  PrepareReport prepareReport;
  const Status prepared = PrepareDictionary(root, tag, prepareReport);
  TAMREL_FUZZ_CHECK(prepared.ok());
  BuildReport buildReport;
  const Status built = BuildCorpus(root, tag, &buildReport);
  TAMREL_FUZZ_CHECK(built.ok());
}

// The files of the bilingual small corpus, built once per process in a folder of their own.
inline const CorpusFiles& SmallCorpus() {
  static const CorpusFiles files = [] {
    const TempFolder folder;
    BuildSmallCorpus(folder.path(), kTagBilingual);
    const auto read = [&](CorpusFile f) { return ReadBytes(CorpusFileName(folder.path(), f, kTagBilingual)); };
    return CorpusFiles{read(CorpusFile::kSentences),     read(CorpusFile::kDictionary),
                       read(CorpusFile::kWordTable),     read(CorpusFile::kPostings),
                       read(CorpusFile::kSentenceTable), read(CorpusFile::kSentenceRecords)};
  }();
  return files;
}

// Writes the bilingual small corpus into `root`, all six files but `except`, which the fuzzer
// supplies.
inline void WriteSmallCorpusExcept(const std::filesystem::path& root, CorpusFile except) {
  for (CorpusFile f : {CorpusFile::kSentences, CorpusFile::kDictionary, CorpusFile::kWordTable, CorpusFile::kPostings,
                       CorpusFile::kSentenceTable, CorpusFile::kSentenceRecords}) {
    if (f != except) WriteBytes(CorpusFileName(root, f, kTagBilingual), SmallCorpus()[f]);
  }
}

// Drives a loaded (possibly damaged, possibly empty) index through every read path a user can
// reach: key lookups, both word lists, posting blocks, term weights, sentence records and the
// searches of SmallCorpusQueries. Nothing here may crash, whatever the files held.
inline void ExerciseIndex(const CorpusIndex& index) {
  const StringList& words = index.words();
  const size_t shownWords = words.size() < 64 ? words.size() : 64;
  for (size_t id = 0; id < shownWords; ++id) {
    const std::u16string_view key = words[id];
    // A key of the table is always found, under the ID of one record holding that same key.
    const std::optional<uint32_t> found = index.WordId(key);
    TAMREL_FUZZ_CHECK(found.has_value() && *found < words.size() && words[*found] == key);
    (void)index.PostingOffset(key);
  }
  for (const int32_t start : {-1, 0, 1, 5, 1000, INT32_MAX - 1}) {
    for (const Language language : {Language::kEnglish, Language::kChinese}) {
      (void)ListWords(index, start, language, 8);
    }
  }
  (void)ListWords(index, 0, Language::kEnglish, INT32_MAX);

  // Posting blocks of known terms and of the table's own keys, whatever their keys hold.
  PostingBlock block;
  for (const std::u16string_view term : {u"hello", u"cat", u"我", u"喜欢", u"。", u"absent"}) {
    if (const auto offset = index.PostingOffset(TermKey(term).key)) {
      if (ReadPostingBlock(index, *offset, block, 1)) TAMREL_FUZZ_CHECK(block.sentenceIds.size() <= 1);
      (void)ReadPostingBlock(index, *offset, block);
    }
    (void)TermWeight(index, term);
  }
  for (size_t id = 0; id < shownWords; id += 7) {
    if (const auto offset = index.PostingOffset(words[id])) (void)ReadPostingBlock(index, *offset, block, 20);
  }

  const int64_t count = static_cast<int64_t>(index.sentenceCount());
  SentenceRecord record;
  for (int64_t id = -1; id < count + 2 && id < 64; ++id) (void)ReadSentenceRecord(index, id, record);
  (void)ReadSentenceRecord(index, count - 1, record);
  (void)ReadSentenceRecord(index, INT64_MAX, record);

  for (const std::u16string& query : SmallCorpusQueries()) {
    std::u16string text = query;
    std::vector<ResultSentence> results;
    SearchCorpus(text, index, results);
    TAMREL_FUZZ_CHECK(results.size() <= kMaxResults);
  }
}

}  // namespace tamrel::fuzz
