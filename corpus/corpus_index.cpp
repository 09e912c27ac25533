#include "corpus/corpus_index.h"

#include <array>

#include "corpus/byte_coding.h"
#include "corpus/corpus_files.h"
#include "corpus/text_file.h"
#include "corpus/word_record.h"

namespace tamrel {

namespace {

// Reads the 32-bit count at the start of a table and then count * recordBytes bytes, after
// checking that the file holds them.
Status ReadTable(const std::filesystem::path& path, size_t recordBytes, uint32_t& count, std::string& body) {
  TextFile file;
  if (!file.Open(path, TextFile::Mode::kRead)) return Status::NotFound(path, "cannot be opened");
  const int64_t length = file.GetLength();
  char head[4];
  if (length < 4 || file.Read(head, 4) != 4) return Status::Corruption(path, "too short to hold its count");
  count = GetFixed32(head);
  const uint64_t need = uint64_t{count} * recordBytes;
  if (need > static_cast<uint64_t>(length - 4)) return Status::Corruption(path, "shorter than its count announces");
  body.resize(need);
  if (file.Read(body.data(), need) != need) return Status::IoError(path, "cannot be read");
  return Status::Ok();
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

void CorpusIndex::SetWordTable(StringList words, std::vector<uint64_t> postingOffsets) {
  words_ = std::move(words);
  postingOffsets_ = std::move(postingOffsets);
  wordIds_.Rebuild(words_);
  englishWords_.clear();
  chineseWords_.clear();
  for (size_t k = 0; k < words_.size(); ++k) {
    const std::u16string_view w = words_[k];
    if (w.empty()) continue;
    if (w[0] == u'2') {
      englishWords_.push_back(w.substr(1));
    } else if (w[0] == u'0' && !IsUnlistedPunctuation(w.substr(1))) {
      chineseWords_.push_back(w.substr(1));
    }
  }
}

Status LoadWordTable(CorpusIndex& index) {
  const auto path = CorpusFileName(index.root(), CorpusFile::kWordTable, index.tag());
  uint32_t count = 0;
  std::string body;
  if (Status status = ReadTable(path, kWordRecordBytes, count, body); !status.ok()) return status;

  StringList words;
  std::vector<uint64_t> offsets(count);
  words.reserve(count, size_t{count} * 8);
  std::u16string key;
  for (uint32_t k = 0; k < count; ++k) {
    if (!DecodeWordRecord(body.data() + size_t{k} * kWordRecordBytes, key, offsets[k])) {
      return Status::Corruption(path, "record " + std::to_string(k) + " holds a key without terminator");
    }
    if (!words.push_back(key)) return Status::Corruption(path, "more key text than a word list can hold");
  }

  index.SetWordTable(std::move(words), std::move(offsets));
  MappedFile postings;  // else read at each query
  (void)postings.Open(CorpusFileName(index.root(), CorpusFile::kPostings, index.tag()));
  index.SetPostingFile(std::move(postings));
  return Status::Ok();
}

Status LoadSentenceTable(CorpusIndex& index) {
  const auto path = CorpusFileName(index.root(), CorpusFile::kSentenceTable, index.tag());
  uint32_t count = 0;
  std::string body;
  if (Status status = ReadTable(path, 8, count, body); !status.ok()) return status;
  std::vector<uint64_t> offsets(count);
  for (uint32_t j = 0; j < count; ++j) offsets[j] = GetFixed64(body.data() + size_t{j} * 8);
  index.SetSentenceTable(std::move(offsets));
  MappedFile records;
  (void)records.Open(CorpusFileName(index.root(), CorpusFile::kSentenceRecords, index.tag()));
  index.SetSentenceRecordFile(std::move(records));
  return Status::Ok();
}

Status LoadCorpus(CorpusIndex& index) {
  if (Status status = LoadWordTable(index); !status.ok()) return status;
  return LoadSentenceTable(index);
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
