#include "corpus/index_build.h"

#include <array>
#include <memory>
#include <system_error>

#include "corpus/frequent_keys.h"
#include "corpus/key_table_file.h"
#include "corpus/word_record.h"
#include "files/bulk_file_writer.h"
#include "files/byte_coding.h"
#include "files/durable_files.h"
#include "files/staged_file.h"
#include "files/text_file.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

constexpr size_t kMaxReportedSkips = 5;
constexpr int64_t kProgressEvery = 1 << 16;  // lines
constexpr size_t kTableBlockBytes = 1 << 20;

Status CannotRead(const std::filesystem::path& path) { return Status::IoError(path, "cannot be read"); }

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

void RemoveStaged(const std::filesystem::path& root, std::u16string_view tag) {
  // One that cannot be removed is a leftover that the next command taking the lock removes.
  for (CorpusFile f : kIndexFiles) (void)RemoveFile(StagedFileName(CorpusFileName(root, f, tag)));
  (void)RemoveFile(StagedFileName(KeyTableFileName(root, tag)));
}

// Appends one token block: the count, a zero, then the word IDs as 64-bit values.
void AppendTokenBlock(const uint32_t* ids, size_t count, std::string& out) {
  const size_t at = out.size();
  out.resize(at + 8 + 8 * count);  // zeros: the block's second field and each ID's high half
  char* block = out.data() + at;
  EncodeFixed32(block, static_cast<uint32_t>(count));
  for (size_t i = 0; i < count; ++i) EncodeFixed32(block + 8 + 8 * i, ids[i]);
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
  void Encode(const CorpusIndex& index, const FrequentKeys& frequent, uint64_t& offset, std::vector<uint64_t>& offsets,
              std::string& out) {
    parts_.clear();
    for (size_t l = 0; l < 3 * groups_; ++l) {
      const char16_t prefix = kPrefixes[l % 3];
      ForEachField<char16_t>(lines_[l], u" ", [&](std::u16string_view t) { parts_.push_back({prefix, t}); });
      lineEnds_[l] = parts_.size();
    }
    LookUp(index, frequent);
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
  // The word IDs of every token: from `frequent` where it has them, the others in one batch from
  // the full key table.
  void LookUp(const CorpusIndex& index, const FrequentKeys& frequent) {
    frequent.FindAll(parts_, ids_, rareAt_);
    rareParts_.clear();
    for (size_t t : rareAt_) rareParts_.push_back(parts_[t]);
    index.FindWordIds(rareParts_, rareIds_);
    for (size_t r = 0; r < rareAt_.size(); ++r) ids_[rareAt_[r]] = rareIds_[r];
  }

  std::u16string lines_[3 * kGroups];
  size_t lineEnds_[3 * kGroups] = {};
  size_t groups_ = 0;
  std::vector<KeyPart> parts_;
  std::vector<uint32_t> ids_;
  std::vector<KeyPart> rareParts_;  // the tokens `frequent` did not have
  std::vector<size_t> rareAt_;      // where they are among parts_
  std::vector<uint32_t> rareIds_;
};

// Writes a whole table under the staged name of `target`, kept there for the commit.
Status WriteStagedTable(const std::filesystem::path& target, const std::string& bytes) {
  StagedFile table(target);
  if (Status status = table.Open(); !status.ok()) return status;
  if (!table.file().Write(bytes.data(), bytes.size())) return table.WriteFailure();
  return table.Keep();
}

}  // namespace

Status BuildWordIndex(CorpusIndex& index, BuildReport* report, std::vector<uint32_t>* postingCounts) {
  const auto source = CorpusFileName(index.root(), CorpusFile::kDictionary, index.tag());
  TextFile dictionary;
  if (Status status = dictionary.OpenChecked(source, TextFile::Mode::kRead); !status.ok()) return status;
  StagedFile postings(CorpusFileName(index.root(), CorpusFile::kPostings, index.tag()));
  if (Status status = postings.Open(); !status.ok()) return status;
  BulkFileWriter postingWriter(postings.stagedPath());
  if (Status status = postingWriter.Open(); !status.ok()) return status;
  ProgressReporter progress(report, index.tag(), CorpusFile::kDictionary, dictionary);

  StringList words;
  std::vector<uint64_t> postingOffsets;
  uint64_t offset = 0;
  int64_t lineNumber = 0;
  DictionaryReader reader(dictionary);
  if (postingCounts != nullptr) postingCounts->clear();
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
    if (!words.push_back(reader.key())) return CannotRead(source);  // more key text than a list holds
    postingOffsets.push_back(offset);
    const size_t n = first.size();
    if (postingCounts != nullptr) postingCounts->push_back(static_cast<uint32_t>(n));
    block.resize(4 + 8 * n);
    EncodeFixed32(block.data(), static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
      EncodeFixed32(block.data() + 4 + 4 * i, static_cast<uint32_t>(first[i]));
      EncodeFixed32(block.data() + 4 + 4 * (n + i), static_cast<uint32_t>(second[i]));
    }
    if (!postingWriter.Write(block.data(), block.size())) return postingWriter.Finish();
    offset += block.size();
  }
  if (report != nullptr) report->dictionaryLines = lineNumber;
  if (Status status = postingWriter.Finish(); !status.ok()) return status;
  if (Status status = postings.Keep(); !status.ok()) return status;

  index.SetWordTable(std::move(words), std::move(postingOffsets));
  // Every record of a repeated key carries the offset of the key's last line, the one lookups find.
  // The records go out a block at a time: the whole table is 112 bytes a key, hundreds of
  // megabytes for a corpus of millions of keys.
  const StringList& keys = index.words();
  StagedFile table(CorpusFileName(index.root(), CorpusFile::kWordTable, index.tag()));
  if (Status status = table.Open(); !status.ok()) return status;
  std::string bytes;
  PutFixed32(bytes, static_cast<uint32_t>(keys.size()));
  for (size_t k = 0; k < keys.size(); ++k) {
    EncodeWordRecord(keys[k], *index.PostingOffset(keys[k]), bytes);
    if (bytes.size() >= kTableBlockBytes) {
      if (!table.file().Write(bytes.data(), bytes.size())) return table.WriteFailure();
      bytes.clear();
    }
  }
  if (!bytes.empty() && !table.file().Write(bytes.data(), bytes.size())) return table.WriteFailure();
  return table.Keep();
}

Status BuildSentenceIndex(CorpusIndex& index, BuildReport* report, const std::vector<uint32_t>* postingCounts) {
  StagedFile records(CorpusFileName(index.root(), CorpusFile::kSentenceRecords, index.tag()));
  if (Status status = records.Open(); !status.ok()) return status;
  BulkFileWriter recordWriter(records.stagedPath());
  if (Status status = recordWriter.Open(); !status.ok()) return status;
  const auto source = CorpusFileName(index.root(), CorpusFile::kSentences, index.tag());
  TextFile sentences;
  if (Status status = sentences.OpenChecked(source, TextFile::Mode::kRead); !status.ok()) return status;
  ProgressReporter progress(report, index.tag(), CorpusFile::kSentences, sentences);

  std::vector<uint64_t> sentenceOffsets;
  uint64_t offset = 0;
  int64_t lines = 0;
  FrequentKeys frequent;
  if (postingCounts != nullptr) frequent.Choose(index.words(), index.wordIds(), *postingCounts);
  auto batch = std::make_unique<GroupBatch>();
  std::string block;
  while (batch->Read(sentences)) {
    block.clear();
    batch->Encode(index, frequent, offset, sentenceOffsets, block);
    if (!recordWriter.Write(block.data(), block.size())) return recordWriter.Finish();
    lines += 3 * static_cast<int64_t>(batch->groups());
    progress.Lines(lines);
  }
  if (report != nullptr) report->sentenceGroups = static_cast<int64_t>(sentenceOffsets.size());
  if (Status status = recordWriter.Finish(); !status.ok()) return status;
  if (Status status = records.Keep(); !status.ok()) return status;

  std::string table;
  table.reserve(4 + 8 * sentenceOffsets.size());
  PutFixed32(table, static_cast<uint32_t>(sentenceOffsets.size()));
  for (uint64_t o : sentenceOffsets) PutFixed64(table, o);
  index.SetSentenceTable(std::move(sentenceOffsets));
  return WriteStagedTable(CorpusFileName(index.root(), CorpusFile::kSentenceTable, index.tag()), table);
}

Status BuildCorpus(const std::filesystem::path& root, std::u16string_view tag, BuildReport* report) {
  // Another build of the same corpus (another window, tamrel-cli) finishes first: the staged
  // files have one name per corpus.
  FileLock lock;
  if (Status status = lock.Acquire(BuildLockFileName(root, tag)); !status.ok()) return status;
  if (Status status = RecoverIndexFiles(root, tag); !status.ok()) return status;
  CorpusIndex index(root, tag);
  std::vector<uint32_t> postingCounts;
  Status status = BuildWordIndex(index, report, &postingCounts);
  if (status.ok()) status = BuildSentenceIndex(index, report, &postingCounts);
  if (!status.ok()) {
    RemoveStaged(root, tag);
    return status;
  }
  status = CommitIndexFiles(root, tag, report != nullptr ? report->onCommitStep : CommitStepHook());
  // Once the commit record is written the staged files belong to the commit, which the next
  // recovery finishes; before it they are of no use.
  std::error_code ignored;
  if (!status.ok() && !std::filesystem::exists(CommitRecordFileName(root, tag), ignored)) RemoveStaged(root, tag);
  if (!status.ok()) return status;
  if (report != nullptr && report->builtIndex != nullptr) {
    *report->builtIndex = std::move(index);
    return Status::Ok();
  }
  // The index is in place and answers; the key table file only spares later loads the work of
  // decoding the keys and hashing them again.
  Status keyTable = WriteKeyTableFile(root, tag, index.words(), index.wordIds());
  // The table of the previous build would only be found stale at each load: it goes.
  if (!keyTable.ok()) (void)RemoveFile(KeyTableFileName(root, tag));
  if (report != nullptr) report->keyTableFile = std::move(keyTable);
  return Status::Ok();
}

Status BuildAllCorpora(const std::filesystem::path& root, const std::function<void(const BuildProgress&)>& onProgress,
                       const CorpusBuildDone& onCorpusDone) {
  Status unfinished;
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) {
    BuildReport report;
    report.onProgress = onProgress;
    Status status = BuildCorpus(root, tag, &report);
    if (onCorpusDone) onCorpusDone(tag, report, status);
    if (status.kind() == Status::Kind::kUnfinished) {
      if (unfinished.ok()) unfinished = std::move(status);
    } else if (!status.ok()) {
      return status;
    }
  }
  return unfinished;
}

}  // namespace tamrel
