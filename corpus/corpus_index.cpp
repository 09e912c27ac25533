#include "corpus/corpus_index.h"

#include <algorithm>
#include <array>

#include "corpus/corpus_files.h"
#include "corpus/index_commit.h"
#include "corpus/key_table_file.h"
#include "corpus/reading_index.h"
#include "corpus/word_record.h"
#include "files/byte_coding.h"
#include "files/text_file.h"

namespace tamrel {

namespace {

// Reads the 32-bit count at the start of a table of `length` bytes (`head` holds its first bytes,
// at least 4 when length allows) and checks that count * recordBytes bytes follow it.
Status TableCount(const std::filesystem::path& path, uint64_t length, const char* head, size_t recordBytes,
                  uint32_t& count) {
  if (length < 4) return Status::Corruption(path, "too short to hold its count");
  count = GetFixed32(head);
  if (uint64_t{count} * recordBytes > length - 4) return Status::Corruption(path, "shorter than its count announces");
  return Status::Ok();
}

// Maps a table and reads its count (TableCount). The mapping lasts only for the load: builds and
// imports put new index files in place by renaming them, never by writing in place, so it sees a
// whole file.
Status MapTable(const std::filesystem::path& path, size_t recordBytes, MappedFile& file, uint32_t& count) {
  if (Status status = file.OpenChecked(path); !status.ok()) return status;
  return TableCount(path, file.bytes().size(), file.bytes().data(), recordBytes, count);
}

bool IsUnlistedPunctuation(std::u16string_view word) {
  static constexpr std::array<std::u16string_view, 4> kSkipped = {u"。", u"、", u"「", u"」"};
  for (auto p : kSkipped) {
    if (word == p) return true;
  }
  return false;
}

}  // namespace

std::optional<uint64_t> CorpusIndex::PostingOffset(std::u16string_view key) const {
  const auto id = WordId(key);
  if (!id || *id >= postingOffsets_.size()) return std::nullopt;
  return postingOffsets_[*id];
}

std::shared_ptr<const ReadingIndex> CorpusIndex::readings() const {
  ReadingsCache& cache = *readings_;
  const std::lock_guard lock(cache.mutex);
  if (cache.made == nullptr) cache.made = std::make_shared<const ReadingIndex>(BuildReadingIndex(*this));
  return cache.made;
}

void CorpusIndex::SetWordTable(StringList words, std::vector<uint64_t> postingOffsets) {
  KeyTable wordIds;
  wordIds.Rebuild(words);
  SetWordTable(std::move(words), std::move(wordIds), std::move(postingOffsets));
}

void CorpusIndex::SetWordTable(StringList words, KeyTable wordIds, std::vector<uint64_t> postingOffsets) {
  ForgetReadings();
  words_ = std::move(words);
  postingOffsets_ = std::move(postingOffsets);
  postingOrder_ = std::make_unique<PostingOrder>();  // the offsets may name other blocks now
  wordIds_ = std::move(wordIds);
  englishWords_.clear();
  chineseWords_.clear();
  // Room for every key in each list, so that neither grows by copies: the room they do not use
  // is never touched, and so never takes memory.
  const size_t units = words_.empty() ? 0 : words_.StartOf(words_.size() - 1) + words_[words_.size() - 1].size();
  englishWords_.reserve(words_.size(), units);
  chineseWords_.reserve(words_.size(), units);
  wordTexts_.Clear();
  wordTexts_.Reserve(words_.size());
  longestChineseFrom_.assign(words_.empty() ? 0 : 0x10000, 0);
  for (size_t k = 0; k < words_.size(); ++k) {
    wordTexts_.Add(words_, k);  // in the one pass over the keys, while each is at hand
    const std::u16string_view w = words_[k];
    if (w.empty()) continue;
    if (w[0] == u'2') {
      englishWords_.push_back(w.substr(1));
    } else if (w[0] == u'0') {
      if (w.size() > 1) {
        uint8_t& longest = longestChineseFrom_[w[1]];
        longest = static_cast<uint8_t>(std::max<size_t>(longest, std::min<size_t>(w.size() - 1, UINT8_MAX)));
      }
      if (!IsUnlistedPunctuation(w.substr(1))) chineseWords_.push_back(w.substr(1));
    }
  }
}

namespace {

// What the word table loader reads, before it goes into an index.
struct WordTableFiles {
  StringList words;
  KeyTable wordIds;
  bool fromKeyFile = false;  // words and wordIds came from the key table file
  std::vector<uint64_t> offsets;
  MappedFile postings;  // not open when the file cannot be mapped: it is then read at each query
};

struct SentenceTableFiles {
  std::vector<uint64_t> offsets;
  MappedFile records;
};

// The keys and key lookup of the key table file, when it was made from this word table.
bool ReadKeyTableFile(const CorpusIndex& index, std::string_view wordTable, WordTableFiles& out) {
  MappedFile file;
  const auto path = KeyTableFileName(index.root(), index.tag());
  if (!file.Open(path)) return false;
  const WordTableIdentity identity{wordTable, ReadBuildStamp(index.root(), index.tag())};
  return DecodeKeyTableFile(path, file.bytes(), identity, out.words, out.wordIds).ok();
}

Status ReadWordTable(const CorpusIndex& index, WordTableFiles& out) {
  const auto path = CorpusFileName(index.root(), CorpusFile::kWordTable, index.tag());
  MappedFile file;
  uint32_t count = 0;
  if (Status status = MapTable(path, kWordRecordBytes, file, count); !status.ok()) return status;
  const char* body = file.bytes().data() + 4;

  out.offsets.assign(count, 0);
  out.fromKeyFile = ReadKeyTableFile(index, file.bytes(), out) && out.words.size() == count;
  if (out.fromKeyFile) {
    for (uint32_t k = 0; k < count; ++k) {
      out.offsets[k] = GetFixed64(body + size_t{k} * kWordRecordBytes + kPostingOffsetField);
    }
  } else {
    out.words = StringList();
    out.words.reserve(count, size_t{count} * 8);
    std::u16string key;
    for (uint32_t k = 0; k < count; ++k) {
      if (!DecodeWordRecord(body + size_t{k} * kWordRecordBytes, key, out.offsets[k])) {
        return Status::Corruption(path, "record " + std::to_string(k) + " holds a key without terminator");
      }
      if (!out.words.push_back(key)) return Status::Corruption(path, "more key text than a word list can hold");
    }
  }
  (void)out.postings.Open(CorpusFileName(index.root(), CorpusFile::kPostings, index.tag()));
  return Status::Ok();
}

// The table is copied, not kept mapped: a mapping would fault if the file were cut short in
// place while the index is in use. The offsets are read straight into their array, whose
// layout is the file's (little-endian, as Digest64 asserts).
Status ReadSentenceTable(const CorpusIndex& index, SentenceTableFiles& out) {
  const auto path = CorpusFileName(index.root(), CorpusFile::kSentenceTable, index.tag());
  TextFile file;
  if (Status status = file.OpenChecked(path, TextFile::Mode::kRead); !status.ok()) return status;
  const int64_t length = file.GetLength();
  char head[4] = {};
  const size_t headBytes = file.Read(head, 4);
  uint32_t count = 0;
  const uint64_t known = headBytes < 4 || length < 4 ? 0 : static_cast<uint64_t>(length);
  if (Status status = TableCount(path, known, head, 8, count); !status.ok()) return status;
  const uint64_t need = uint64_t{count} * 8;
  out.offsets.resize(count);
  if (file.Read(reinterpret_cast<char*>(out.offsets.data()), need) != need) {
    return Status::IoError(path, "cannot be read");
  }
  (void)out.records.Open(CorpusFileName(index.root(), CorpusFile::kSentenceRecords, index.tag()));
  return Status::Ok();
}

void Apply(CorpusIndex& index, WordTableFiles& files) {
  if (files.fromKeyFile) {
    index.SetWordTable(std::move(files.words), std::move(files.wordIds), std::move(files.offsets));
  } else {
    index.SetWordTable(std::move(files.words), std::move(files.offsets));
  }
  index.SetPostingFile(std::move(files.postings));
}

void Apply(CorpusIndex& index, SentenceTableFiles& files) {
  index.SetSentenceTable(std::move(files.offsets));
  index.SetSentenceRecordFile(std::move(files.records));
}

}  // namespace

// Each loader reads its files through ReadFromOneBuild, so that a build committing meanwhile
// cannot pair a table of one build with the data of another.
Status LoadWordTable(CorpusIndex& index) {
  WordTableFiles words;
  const Status status = ReadFromOneBuild(index.root(), index.tag(), [&] { return ReadWordTable(index, words); });
  if (status.ok()) Apply(index, words);
  return status;
}

Status LoadSentenceTable(CorpusIndex& index) {
  SentenceTableFiles sentences;
  const Status status =
      ReadFromOneBuild(index.root(), index.tag(), [&] { return ReadSentenceTable(index, sentences); });
  if (status.ok()) Apply(index, sentences);
  return status;
}

Status LoadCorpus(CorpusIndex& index) {
  WordTableFiles words;
  SentenceTableFiles sentences;
  Status wordStatus, sentenceStatus;
  bool settled = false;
  const Status status = ReadFromOneBuild(
      index.root(), index.tag(),
      [&] {
        wordStatus = ReadWordTable(index, words);
        if (!wordStatus.ok()) return wordStatus;
        sentenceStatus = ReadSentenceTable(index, sentences);
        return sentenceStatus;
      },
      &settled);
  if (!settled) return status;
  if (wordStatus.ok()) Apply(index, words);  // what loaded before a failure stays
  if (wordStatus.ok() && sentenceStatus.ok()) Apply(index, sentences);
  return status;
}

std::vector<NumberedWord> ListWords(const CorpusIndex& index, int32_t start, Language language, int32_t maxCount) {
  const StringList& list = language == Language::kEnglish ? index.englishWords() : index.chineseWords();
  std::vector<NumberedWord> words;
  if (start < 0) return words;  // the walk stops at the first position outside the list
  const int64_t end = std::min<int64_t>(int64_t{start} + maxCount, static_cast<int64_t>(list.size()));
  for (int64_t i = start; i < end; ++i) words.push_back({i, std::u16string(list[static_cast<size_t>(i)])});
  return words;
}

}  // namespace tamrel
