#include "corpus/index_build.h"

#include <array>
#include <system_error>
#include <unordered_map>

#include "corpus/byte_coding.h"
#include "corpus/stdio_file_ex.h"
#include "corpus/text_utils.h"

namespace tamrel {

namespace {

constexpr size_t kMaxReportedSkips = 5;
constexpr int64_t kProgressEvery = 1 << 16;  // lines

void Fail(BuildReport* report, const std::filesystem::path& path) {
  if (report != nullptr) report->failedFile = path;
}

void Progress(BuildReport* report, std::u16string_view tag, CorpusFile source, int64_t lines, CStdioFileEx& file,
              int64_t total) {
  if (report == nullptr || !report->onProgress || lines % kProgressEvery != 0) return;
  report->onProgress(BuildProgress{tag, source, lines, file.GetPosition(), total});
}

// One dictionary line taken apart. False when the line breaks the layout: no tab, an empty key,
// an empty posting list, an empty item (double or leading space) or an item without a colon.
bool ParseDictionaryLine(std::u16string_view line, std::u16string_view& key, std::vector<int32_t>& first,
                         std::vector<int32_t>& second) {
  const size_t tab = line.find(u'\t');
  if (tab == std::u16string_view::npos || tab == 0) return false;
  key = line.substr(0, tab);
  std::u16string_view postings = line.substr(tab + 1);
  postings = postings.substr(0, postings.find(u'\t'));  // fields after the second are ignored
  if (postings.empty()) return false;
  first.clear();
  second.clear();
  bool ok = true;
  ForEachField<char16_t>(postings, u" ", [&](std::u16string_view item) {
    const size_t colon = item.find(u':');
    if (item.empty() || colon == std::u16string_view::npos) {
      ok = false;
      return;
    }
    first.push_back(ParseDecimal(item.substr(0, colon)));
    // The second field ends at the next colon, where the digits stop anyway.
    second.push_back(ParseDecimal(item.substr(colon + 1)));
  });
  return ok;
}

void RemoveStaged(std::u16string_view tag) {
  for (CorpusFile f : {CorpusFile::kPostings, CorpusFile::kWordTable, CorpusFile::kSentenceRecords,
                       CorpusFile::kSentenceTable}) {
    std::error_code ignored;
    std::filesystem::remove(StagedFileName(f, tag), ignored);
  }
}

// Word ID lookup used while a build encodes sentences: a hash map over the keys of `words`,
// the last record of a repeated key winning, as in the ordered lookup of a loaded index.
class BuildKeyMap {
 public:
  explicit BuildKeyMap(const StringList& words) {
    map_.reserve(words.size());
    for (size_t k = 0; k < words.size(); ++k) map_[words[k]] = static_cast<uint32_t>(k);
  }
  uint32_t IdOrZero(std::u16string_view key) const {
    const auto it = map_.find(key);
    return it == map_.end() ? 0 : it->second;
  }

 private:
  std::unordered_map<std::u16string_view, uint32_t> map_;
};

template <typename Lookup>
void AppendTokenBlock(std::u16string_view line, int prefix, const Lookup& idOf, std::string& out) {
  const size_t head = out.size();
  PutFixed64(out, 0);  // count and zero; the count is patched below
  uint32_t count = 0;
  std::u16string key(1, static_cast<char16_t>(u'0' + prefix));
  ForEachField<char16_t>(line, u" ", [&](std::u16string_view token) {
    key.resize(1);
    key += token;
    PutFixed64(out, idOf(key));
    ++count;
  });
  PatchFixed32(out, head, count);
}

bool WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
  CStdioFileEx file;
  if (!file.Open(path, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite)) return false;
  const bool written = file.Write(bytes.data(), bytes.size());
  return file.Close() && written;
}

}  // namespace

std::filesystem::path StagedFileName(CorpusFile file, std::u16string_view tag) {
  std::filesystem::path p = CorpusFileName(file, tag);
  p += ".new";
  return p;
}

int BuildWordIndex(CorpusIndex& index, BuildReport* report) {
  const auto source = CorpusFileName(CorpusFile::kDictionary, index.tag);
  CStdioFileEx dictionary;
  if (!dictionary.Open(source, CStdioFileEx::modeRead)) return Fail(report, source), -1;
  const auto postingPath = StagedFileName(CorpusFile::kPostings, index.tag);
  CStdioFileEx postings;
  if (!postings.Open(postingPath, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite)) {
    return Fail(report, postingPath), -1;
  }
  const int64_t total = dictionary.GetLength();

  index.words.clear();
  index.postingOffsets.clear();
  index.wordIds.clear();
  uint64_t offset = 0;
  int64_t lineNumber = 0;
  std::u16string line;
  std::u16string_view key;
  std::vector<int32_t> first, second;
  std::string block;
  while (dictionary.ReadLine(line)) {
    ++lineNumber;
    Progress(report, index.tag, CorpusFile::kDictionary, lineNumber, dictionary, total);
    if (!ParseDictionaryLine(line, key, first, second)) {
      if (report != nullptr) {
        ++report->skippedLines;
        if (report->firstSkipped.size() < kMaxReportedSkips) report->firstSkipped.push_back(lineNumber);
      }
      continue;
    }
    if (key.size() > kMaxKeyUnits) {
      if (report != nullptr) ++report->longKeys;
      continue;
    }
    index.words.push_back(key);
    index.postingOffsets.push_back(offset);
    block.clear();
    PutFixed32(block, static_cast<uint32_t>(first.size()));
    for (int32_t v : first) PutFixed32(block, static_cast<uint32_t>(v));
    for (int32_t v : second) PutFixed32(block, static_cast<uint32_t>(v));
    if (!postings.Write(block.data(), block.size())) return Fail(report, postingPath), -1;
    offset += block.size();
  }
  if (report != nullptr) report->dictionaryLines = lineNumber;
  if (!postings.Close()) return Fail(report, postingPath), -1;

  index.wordIds.Rebuild(index.words);
  // Every record of a repeated key carries the offset of the key's last line.
  const size_t count = index.words.size();
  std::vector<uint64_t> recordOffsets(count);
  for (size_t k = 0; k < count; ++k) recordOffsets[k] = index.postingOffsets[*index.WordId(index.words[k])];
  index.postingOffsets = std::move(recordOffsets);

  std::string table;
  table.reserve(4 + count * kWordRecordBytes);
  PutFixed32(table, static_cast<uint32_t>(count));
  for (size_t k = 0; k < count; ++k) {
    const std::u16string_view w = index.words[k];
    for (size_t u = 0; u < kKeyFieldUnits; ++u) {
      const char16_t unit = u < w.size() ? w[u] : 0;
      table.push_back(static_cast<char>(unit & 0xFF));
      table.push_back(static_cast<char>(unit >> 8));
    }
    table.append(2, '\0');
    PutFixed64(table, index.postingOffsets[k]);
  }
  const auto tablePath = StagedFileName(CorpusFile::kWordTable, index.tag);
  if (!WriteWhole(tablePath, table)) return Fail(report, tablePath), -1;
  return 0;
}

int BuildSentenceIndex(CorpusIndex& index, BuildReport* report) {
  const auto recordPath = StagedFileName(CorpusFile::kSentenceRecords, index.tag);
  CStdioFileEx records;
  if (!records.Open(recordPath, CStdioFileEx::modeCreate | CStdioFileEx::modeWrite)) {
    return Fail(report, recordPath), -1;
  }
  const auto source = CorpusFileName(CorpusFile::kSentences, index.tag);
  CStdioFileEx sentences;
  if (!sentences.Open(source, CStdioFileEx::modeRead)) return Fail(report, source), -1;
  const int64_t total = sentences.GetLength();

  const BuildKeyMap keys(index.words);
  const auto idOf = [&](std::u16string_view key) { return keys.IdOrZero(key); };
  index.sentenceOffsets.clear();
  uint64_t offset = 0;
  int64_t lines = 0;
  std::u16string line;
  std::string block;
  while (sentences.ReadLine(line)) {
    block.clear();
    AppendTokenBlock(line, 0, idOf, block);
    sentences.ReadLine(line);  // an ended file leaves the line empty
    AppendTokenBlock(line, 1, idOf, block);
    sentences.ReadLine(line);
    AppendTokenBlock(line, 3, idOf, block);
    if (!records.Write(block.data(), block.size())) return Fail(report, recordPath), -1;
    index.sentenceOffsets.push_back(offset);
    offset += block.size();
    lines += 3;
    Progress(report, index.tag, CorpusFile::kSentences, lines, sentences, total);
  }
  if (report != nullptr) report->sentenceGroups = static_cast<int64_t>(index.sentenceOffsets.size());
  if (!records.Close()) return Fail(report, recordPath), -1;

  std::string table;
  table.reserve(4 + 8 * index.sentenceOffsets.size());
  PutFixed32(table, static_cast<uint32_t>(index.sentenceOffsets.size()));
  for (uint64_t o : index.sentenceOffsets) PutFixed64(table, o);
  const auto tablePath = StagedFileName(CorpusFile::kSentenceTable, index.tag);
  if (!WriteWhole(tablePath, table)) return Fail(report, tablePath), -1;
  return 0;
}

std::string EncodeLine(const CorpusIndex& index, std::u16string_view line, int prefix) {
  std::string block;
  AppendTokenBlock(line, prefix, [&](std::u16string_view key) { return index.WordId(key).value_or(0); }, block);
  return block;
}

int BuildCorpus(std::u16string_view tag, BuildReport* report) {
  CorpusIndex index(tag);
  if (BuildWordIndex(index, report) < 0 || BuildSentenceIndex(index, report) < 0) {
    RemoveStaged(tag);
    return -1;
  }
  for (CorpusFile f : {CorpusFile::kPostings, CorpusFile::kWordTable, CorpusFile::kSentenceRecords,
                       CorpusFile::kSentenceTable}) {
    std::error_code error;
    std::filesystem::rename(StagedFileName(f, tag), CorpusFileName(f, tag), error);
    if (error) {
      Fail(report, CorpusFileName(f, tag));
      RemoveStaged(tag);
      return -1;
    }
  }
  return 0;
}

}  // namespace tamrel
