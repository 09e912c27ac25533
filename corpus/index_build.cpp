#include "corpus/index_build.h"

#include <array>
#include <memory>
#include <system_error>

#include "corpus/byte_coding.h"
#include "corpus/text_file.h"
#include "corpus/text_utils.h"

namespace tamrel {

namespace {

constexpr size_t kMaxReportedSkips = 5;
constexpr int64_t kProgressEvery = 1 << 16;  // lines

void Fail(BuildReport* report, const std::filesystem::path& path) {
  if (report != nullptr) report->failedFile = path;
}

// Tells the report's progress callback about every kProgressEvery lines or so.
class ProgressReporter {
 public:
  ProgressReporter(BuildReport* report, std::u16string_view tag, CorpusFile source, TextFile& file)
      : report_(report), tag_(tag), source_(source), file_(file), total_(file.GetLength()) {}

  void Lines(int64_t lines) {
    if (report_ == nullptr || !report_->onProgress || lines < next_) return;
    next_ = lines + kProgressEvery;
    report_->onProgress(BuildProgress{tag_, source_, lines, file_.GetPosition(), total_});
  }

 private:
  BuildReport* report_;
  std::u16string_view tag_;
  CorpusFile source_;
  TextFile& file_;
  int64_t total_;
  int64_t next_ = kProgressEvery;
};

// One dictionary line taken apart: the key field and the numbers of the posting items. False when
// the line breaks the layout: no tab, an empty key, an empty posting list, an empty item (double or
// leading space) or an item without a colon. Works on UTF-16 lines and on UTF-8 bytes alike, since
// every character it looks for is ASCII.
template <typename Char>
bool ParseDictionaryLine(std::basic_string_view<Char> line, std::basic_string_view<Char>& key,
                         std::vector<int32_t>& first, std::vector<int32_t>& second) {
  using View = std::basic_string_view<Char>;
  const size_t tab = line.find(Char('\t'));
  if (tab == View::npos || tab == 0) return false;
  key = line.substr(0, tab);
  View postings = line.substr(tab + 1);
  postings = postings.substr(0, postings.find(Char('\t')));  // fields after the second are ignored
  if (postings.empty()) return false;
  first.clear();
  second.clear();
  const Char space[] = {Char(' ')};
  bool ok = true;
  ForEachField<Char>(postings, View(space, 1), [&](View item) {
    const size_t colon = item.find(Char(':'));
    if (item.empty() || colon == View::npos) {
      ok = false;
      return;
    }
    first.push_back(ParseDecimal<Char>(item.substr(0, colon)));
    // The second field ends at the next colon, where the digits stop anyway.
    second.push_back(ParseDecimal<Char>(item.substr(colon + 1)));
  });
  return ok;
}

// Reads dictionary lines as UTF-8 bytes, converting only the key, or as UTF-16 lines when the
// file is in UTF-16 mode.
class DictionaryReader {
 public:
  explicit DictionaryReader(TextFile& file) : file_(file) {}

  // Reads the next line; false at end of file. `parsed` tells whether it keeps the layout.
  bool Next(bool& parsed, std::vector<int32_t>& first, std::vector<int32_t>& second) {
    if (file_.IsUtf16()) {
      if (!file_.ReadLine(wide_)) return false;
      std::u16string_view key;
      parsed = ParseDictionaryLine<char16_t>(wide_, key, first, second);
      key_.assign(key);
      return true;
    }
    if (!file_.ReadLineBytes(bytes_)) return false;
    std::string_view key;
    parsed = ParseDictionaryLine<char>(bytes_, key, first, second);
    key_.clear();
    if (parsed) AppendUtf8AsUtf16(key, key_);
    return true;
  }
  const std::u16string& key() const { return key_; }

 private:
  TextFile& file_;
  std::string bytes_;
  std::u16string wide_;
  std::u16string key_;
};

constexpr CorpusFile kIndexFiles[] = {CorpusFile::kPostings, CorpusFile::kWordTable, CorpusFile::kSentenceRecords,
                                      CorpusFile::kSentenceTable};

void RemoveStaged(std::u16string_view tag) {
  for (CorpusFile f : kIndexFiles) {
    std::error_code ignored;
    std::filesystem::remove(StagedFileName(f, tag), ignored);
  }
}

std::filesystem::path BackupFileName(CorpusFile file, std::u16string_view tag) {
  std::filesystem::path p = CorpusFileName(file, tag);
  p += ".old";
  return p;
}

// Moves the four staged files into place. The current files are first moved aside, and moved
// back when any step fails, so that the index in place is always the old one or the new one.
int CommitStaged(std::u16string_view tag) {
  std::error_code error;
  std::vector<CorpusFile> asideFiles;
  std::vector<CorpusFile> placed;
  const auto undo = [&] {
    std::error_code ignored;
    for (CorpusFile f : placed) std::filesystem::remove(CorpusFileName(f, tag), ignored);
    for (CorpusFile f : asideFiles) std::filesystem::rename(BackupFileName(f, tag), CorpusFileName(f, tag), ignored);
    return -1;
  };
  for (CorpusFile f : kIndexFiles) {
    if (!std::filesystem::exists(CorpusFileName(f, tag), error)) continue;
    std::filesystem::rename(CorpusFileName(f, tag), BackupFileName(f, tag), error);
    if (error) return undo();
    asideFiles.push_back(f);
  }
  for (CorpusFile f : kIndexFiles) {
    std::filesystem::rename(StagedFileName(f, tag), CorpusFileName(f, tag), error);
    if (error) return undo();
    placed.push_back(f);
  }
  for (CorpusFile f : asideFiles) std::filesystem::remove(BackupFileName(f, tag), error);
  return 0;
}

// Appends one token block: the count, a zero, then the word IDs as 64-bit values.
void AppendTokenBlock(const uint32_t* ids, size_t count, std::string& out) {
  PutFixed32(out, static_cast<uint32_t>(count));
  PutFixed32(out, 0);
  for (size_t i = 0; i < count; ++i) PutFixed64(out, ids[i]);
}

// Up to kGroups sentence groups read ahead, their tokens and word IDs, so that the key lookups of
// many lines run as one batch.
class GroupBatch {
 public:
  static constexpr size_t kGroups = 64;
  static constexpr char16_t kPrefixes[3] = {u'0', u'1', u'3'};

  // Reads the next groups; false when the file had none left.
  bool Read(TextFile& file) {
    groups_ = 0;
    while (groups_ < kGroups && file.ReadLine(lines_[3 * groups_])) {
      file.ReadLine(lines_[3 * groups_ + 1]);  // an ended file leaves the line empty
      file.ReadLine(lines_[3 * groups_ + 2]);
      ++groups_;
    }
    return groups_ > 0;
  }

  // Appends the records of the groups read to `out`, one offset per group to `offsets`.
  void Encode(const CorpusIndex& index, uint64_t& offset, std::vector<uint64_t>& offsets, std::string& out) {
    parts_.clear();
    for (size_t l = 0; l < 3 * groups_; ++l) {
      const char16_t prefix = kPrefixes[l % 3];
      ForEachField<char16_t>(lines_[l], u" ", [&](std::u16string_view t) { parts_.push_back({prefix, t}); });
      lineEnds_[l] = parts_.size();
    }
    index.wordIds.FindAll(index.words, parts_, ids_);
    size_t begin = 0;
    for (size_t g = 0; g < groups_; ++g) {
      offsets.push_back(offset);
      const size_t before = out.size();
      for (size_t l = 3 * g; l < 3 * g + 3; ++l) {
        AppendTokenBlock(ids_.data() + begin, lineEnds_[l] - begin, out);
        begin = lineEnds_[l];
      }
      offset += out.size() - before;
    }
  }

  size_t groups() const { return groups_; }

 private:
  std::u16string lines_[3 * kGroups];
  size_t lineEnds_[3 * kGroups] = {};
  size_t groups_ = 0;
  std::vector<KeyPart> parts_;
  std::vector<uint32_t> ids_;
};

bool WriteWhole(const std::filesystem::path& path, const std::string& bytes) {
  TextFile file;
  if (!file.Open(path, TextFile::modeCreate | TextFile::modeWrite)) return false;
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
  TextFile dictionary;
  if (!dictionary.Open(source, TextFile::modeRead)) return Fail(report, source), -1;
  const auto postingPath = StagedFileName(CorpusFile::kPostings, index.tag);
  TextFile postings;
  if (!postings.Open(postingPath, TextFile::modeCreate | TextFile::modeWrite)) {
    return Fail(report, postingPath), -1;
  }
  ProgressReporter progress(report, index.tag, CorpusFile::kDictionary, dictionary);

  index.words.clear();
  index.postingOffsets.clear();
  index.wordIds.clear();
  uint64_t offset = 0;
  int64_t lineNumber = 0;
  DictionaryReader reader(dictionary);
  bool parsed = false;
  std::vector<int32_t> first, second;
  std::string block;
  while (reader.Next(parsed, first, second)) {
    ++lineNumber;
    progress.Lines(lineNumber);
    if (!parsed) {
      if (report != nullptr) {
        ++report->skippedLines;
        if (report->firstSkipped.size() < kMaxReportedSkips) report->firstSkipped.push_back(lineNumber);
      }
      continue;
    }
    if (reader.key().size() > kMaxKeyUnits) {
      if (report != nullptr) ++report->longKeys;
      continue;
    }
    if (!index.words.push_back(reader.key())) return Fail(report, source), -1;  // too much key text
    index.postingOffsets.push_back(offset);
    const size_t n = first.size();
    block.resize(4 + 8 * n);
    EncodeFixed32(block.data(), static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
      EncodeFixed32(block.data() + 4 + 4 * i, static_cast<uint32_t>(first[i]));
      EncodeFixed32(block.data() + 4 + 4 * (n + i), static_cast<uint32_t>(second[i]));
    }
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
  TextFile records;
  if (!records.Open(recordPath, TextFile::modeCreate | TextFile::modeWrite)) {
    return Fail(report, recordPath), -1;
  }
  const auto source = CorpusFileName(CorpusFile::kSentences, index.tag);
  TextFile sentences;
  if (!sentences.Open(source, TextFile::modeRead)) return Fail(report, source), -1;
  ProgressReporter progress(report, index.tag, CorpusFile::kSentences, sentences);

  index.sentenceOffsets.clear();
  uint64_t offset = 0;
  int64_t lines = 0;
  auto batch = std::make_unique<GroupBatch>();
  std::string block;
  while (batch->Read(sentences)) {
    block.clear();
    batch->Encode(index, offset, index.sentenceOffsets, block);
    if (!records.Write(block.data(), block.size())) return Fail(report, recordPath), -1;
    lines += 3 * static_cast<int64_t>(batch->groups());
    progress.Lines(lines);
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
  std::vector<KeyPart> parts;
  const auto p = static_cast<char16_t>(u'0' + prefix);
  ForEachField<char16_t>(line, u" ", [&](std::u16string_view token) { parts.push_back({p, token}); });
  std::vector<uint32_t> ids;
  index.wordIds.FindAll(index.words, parts, ids);
  std::string block;
  AppendTokenBlock(ids.data(), ids.size(), block);
  return block;
}

int BuildCorpus(std::u16string_view tag, BuildReport* report) {
  CorpusIndex index(tag);
  if (BuildWordIndex(index, report) < 0 || BuildSentenceIndex(index, report) < 0) {
    RemoveStaged(tag);
    return -1;
  }
  if (CommitStaged(tag) < 0) {
    RemoveStaged(tag);
    return Fail(report, CorpusFileName(CorpusFile::kWordTable, tag)), -1;
  }
  return 0;
}

int BuildAllCorpora(std::u16string& failedTag, const std::function<void(const BuildProgress&)>& onProgress,
                    const CorpusBuildDone& onCorpusDone) {
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) {
    BuildReport report;
    report.onProgress = onProgress;
    const int status = BuildCorpus(tag, &report);
    if (onCorpusDone) onCorpusDone(tag, report);
    if (status < 0) {
      failedTag = tag;
      return -1;
    }
  }
  return 0;
}

}  // namespace tamrel
