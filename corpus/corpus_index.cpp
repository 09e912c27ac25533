#include "corpus/corpus_index.h"

#include <array>

#include "corpus/byte_coding.h"
#include "corpus/corpus_files.h"
#include "corpus/text_file.h"
#include "corpus/text_utils.h"

namespace tamrel {

namespace {

// Reads the 32-bit count at the start of a table and then count * recordBytes bytes, after
// checking that the file holds them. False for a missing, short or unreadable file.
bool ReadTable(const std::filesystem::path& path, size_t recordBytes, uint32_t& count, std::string& body) {
  TextFile file;
  if (!file.Open(path, TextFile::modeRead)) return false;
  const int64_t length = file.GetLength();
  char head[4];
  if (length < 4 || file.Read(head, 4) != 4) return false;
  count = GetFixed32(head);
  const uint64_t need = uint64_t{count} * recordBytes;
  if (need > static_cast<uint64_t>(length - 4)) return false;
  body.resize(need);
  return file.Read(body.data(), need) == need;
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
  if (!id || *id >= postingOffsets.size()) return std::nullopt;
  return postingOffsets[*id];
}

int LoadWordTable(CorpusIndex& index) {
  uint32_t count = 0;
  std::string body;
  if (!ReadTable(CorpusFileName(CorpusFile::kWordTable, index.tag), kWordRecordBytes, count, body)) return -1;

  StringList words;
  std::vector<uint64_t> offsets(count);
  words.reserve(count, size_t{count} * 8);
  std::u16string key;
  for (uint32_t k = 0; k < count; ++k) {
    const char* record = body.data() + size_t{k} * kWordRecordBytes;
    key.clear();
    size_t units = 0;
    for (; units < kKeyFieldUnits; ++units) {
      const auto unit = static_cast<char16_t>(static_cast<unsigned char>(record[2 * units]) |
                                              static_cast<unsigned char>(record[2 * units + 1]) << 8);
      if (unit == 0) break;
      key.push_back(unit);
    }
    if (units == kKeyFieldUnits) return -1;  // no terminator: the record is damaged
    if (!words.push_back(key)) return -1;    // more key text than a word list can hold
    offsets[k] = GetFixed64(record + 104);
  }

  index.words = std::move(words);
  index.postingOffsets = std::move(offsets);
  index.wordIds.Rebuild(index.words);
  index.postingFile.Open(CorpusFileName(CorpusFile::kPostings, index.tag));  // else read at each query
  for (size_t k = 0; k < index.words.size(); ++k) {
    const std::u16string_view w = index.words[k];
    if (w.empty()) continue;
    if (w[0] == u'2') {
      index.englishWords.push_back(w.substr(1));
    } else if (w[0] == u'0' && !IsUnlistedPunctuation(w.substr(1))) {
      index.chineseWords.push_back(w.substr(1));
    }
  }
  return 0;
}

int LoadSentenceTable(CorpusIndex& index) {
  uint32_t count = 0;
  std::string body;
  if (!ReadTable(CorpusFileName(CorpusFile::kSentenceTable, index.tag), 8, count, body)) return -1;
  index.sentenceOffsets.resize(count);
  for (uint32_t j = 0; j < count; ++j) index.sentenceOffsets[j] = GetFixed64(body.data() + size_t{j} * 8);
  index.sentenceRecordFile.Open(CorpusFileName(CorpusFile::kSentenceRecords, index.tag));
  return 0;
}

int LoadCorpus(CorpusIndex& index, std::u16string_view tag) {
  index.tag = tag;
  return LoadWordTable(index) == 0 && LoadSentenceTable(index) == 0 ? 0 : -1;
}

std::vector<std::u16string> ListWords(const CorpusIndex& index, int32_t start, std::u16string_view language,
                                      int32_t maxCount) {
  const StringList& list = language == u"2" ? index.englishWords : index.chineseWords;
  std::vector<std::u16string> lines;
  if (start < 0) return lines;  // the walk stops at the first position outside the list
  const int64_t end = std::min<int64_t>(int64_t{start} + maxCount, static_cast<int64_t>(list.size()));
  for (int64_t i = start; i < end; ++i) {
    std::u16string line = FormatDecimal(i);
    line += u':';
    line += list[static_cast<size_t>(i)];
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace tamrel
