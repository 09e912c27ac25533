#include "corpus/index_build.h"

#include <array>
#include <memory>
#include <system_error>

#include "corpus/batch_channel.h"
#include "corpus/byte_coding.h"
#include "corpus/durable_files.h"
#include "corpus/key_table_file.h"
#include "corpus/staged_file.h"
#include "corpus/text_file.h"
#include "corpus/text_utils.h"
#include "corpus/word_record.h"

namespace tamrel {

namespace {

constexpr size_t kMaxReportedSkips = 5;
constexpr int64_t kProgressEvery = 1 << 16;  // lines
// Sources from this size on are read ahead on a second thread (see ReadAhead).
constexpr int64_t kReadAheadFrom = int64_t{32} << 20;
constexpr size_t kBatchesInFlight = 4;
size_t BatchesInFlight(TextFile& source) { return source.GetLength() >= kReadAheadFrom ? kBatchesInFlight : 0; }

constexpr uint64_t kWriteBackEvery = uint64_t{64} << 20;  // bytes written between StartWriteBack calls

// Starts the write-back of a large staged file now and then while it is written.
class WriteBack {
 public:
  explicit WriteBack(TextFile& file) : file_(file) {}
  void Written(uint64_t bytes) {
    pending_ += bytes;
    if (pending_ < kWriteBackEvery) return;
    pending_ = 0;
    file_.StartWriteBack();
  }

 private:
  TextFile& file_;
  uint64_t pending_ = 0;
};

Status CannotRead(const std::filesystem::path& path) { return Status::IoError(path, "cannot be read"); }
Status CannotWrite(const std::filesystem::path& path) { return Status::IoError(path, "cannot be written"); }

// Where a build step stood at a point it tells the progress callback about.
struct ProgressMark {
  int64_t lines;
  int64_t position;  // of the source file, after those lines
};

// Tells the report's progress callback about every kProgressEvery lines or so. The thread that
// reads the source asks Due at each point a report could be made and notes the file position
// where it is; the writing thread passes the marks on, so that the callback always runs on the
// thread that called the build and sees the very figures a build reading and writing on one
// thread gives.
class ProgressReporter {
 public:
  ProgressReporter(BuildReport* report, std::u16string_view tag, CorpusFile source, TextFile& file)
      : report_(report), tag_(tag), source_(source), total_(file.GetLength()) {}

  // Whether the callback is to hear about `lines` (a count that only grows).
  bool Due(int64_t lines) {
    if (report_ == nullptr || !report_->onProgress || lines < next_) return false;
    next_ = lines + kProgressEvery;
    return true;
  }
  void Report(const ProgressMark& mark) const {
    report_->onProgress(BuildProgress{tag_, source_, mark.lines, mark.position, total_});
  }

 private:
  BuildReport* report_;
  std::u16string_view tag_;
  CorpusFile source_;
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

// One dictionary line as DictionaryReader gave it; its postings lie in the batch's arrays.
struct DictionaryLine {
  bool parsed = false;
  std::u16string key;
  size_t begin = 0, end = 0;
};

// Dictionary lines read ahead: up to kLines lines, or fewer when they hold many postings. The
// postings of all lines lie in two arrays, so that a batch holds about kPostings postings plus
// those of its last line, however the lines before were spread.
class DictionaryBatch {
 public:
  static constexpr size_t kLines = 1024;
  static constexpr size_t kPostings = size_t{1} << 20;

  // Reads the next lines; false when the file had none left. `first` and `second` are the
  // reader's own room for one line.
  // `lineNumber` counts the lines read in all; after each, `progress` may want a mark.
  bool Read(DictionaryReader& reader, TextFile& file, std::vector<int32_t>& first, std::vector<int32_t>& second,
            ProgressReporter& progress, int64_t& lineNumber) {
    size_ = 0;
    marks_.clear();
    // Room grown for a line of millions of postings is not kept for the lines after it.
    if (first_.capacity() > 2 * kPostings) first_ = {}, second_ = {};
    first_.clear();
    second_.clear();
    while (size_ < kLines && first_.size() < kPostings) {
      if (size_ == lines_.size()) lines_.emplace_back();
      DictionaryLine& line = lines_[size_];
      if (!reader.Next(line.parsed, first, second)) break;
      line.key = reader.key();
      line.begin = first_.size();
      first_.insert(first_.end(), first.begin(), first.end());
      second_.insert(second_.end(), second.begin(), second.end());
      line.end = first_.size();
      ++size_;
      if (progress.Due(++lineNumber)) marks_.push_back({lineNumber, file.GetPosition()});
    }
    return size_ > 0;
  }
  size_t size() const { return size_; }
  const DictionaryLine& operator[](size_t i) const { return lines_[i]; }
  const int32_t* first() const { return first_.data(); }
  const int32_t* second() const { return second_.data(); }
  const std::vector<ProgressMark>& marks() const { return marks_; }

 private:
  std::vector<DictionaryLine> lines_;
  std::vector<int32_t> first_, second_;
  size_t size_ = 0;
  std::vector<ProgressMark> marks_;
};

void RemoveStaged(const std::filesystem::path& root, std::u16string_view tag) {
  std::error_code ignored;
  for (CorpusFile f : kIndexFiles) std::filesystem::remove(StagedFileName(CorpusFileName(root, f, tag)), ignored);
  std::filesystem::remove(StagedFileName(KeyTableFileName(root, tag)), ignored);
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
  static constexpr size_t kGroups = 256;
  static constexpr size_t kReportGroups = 64;  // groups between two points progress may be reported at
  static constexpr char16_t kPrefixes[3] = {u'0', u'1', u'3'};

  // Reads the next groups; false when the file had none left. `lines` counts the lines read in
  // all; every kReportGroups groups, and at the end, `progress` may want a mark.
  bool Read(TextFile& file, ProgressReporter& progress, int64_t& lines) {
    groups_ = 0;
    marks_.clear();
    const auto point = [&](size_t groups) {
      lines += 3 * static_cast<int64_t>(groups);
      if (progress.Due(lines)) marks_.push_back({lines, file.GetPosition()});
    };
    while (groups_ < kGroups && file.ReadLine(lines_[3 * groups_])) {
      file.ReadLine(lines_[3 * groups_ + 1]);  // an ended file leaves the line empty
      file.ReadLine(lines_[3 * groups_ + 2]);
      if (++groups_ % kReportGroups == 0) point(kReportGroups);
    }
    if (groups_ % kReportGroups != 0) point(groups_ % kReportGroups);
    return groups_ > 0;
  }
  const std::vector<ProgressMark>& marks() const { return marks_; }

  // Cuts the lines read into tokens and finds their word IDs.
  void LookUp(const CorpusIndex& index) {
    parts_.clear();
    for (size_t l = 0; l < 3 * groups_; ++l) {
      const char16_t prefix = kPrefixes[l % 3];
      ForEachField<char16_t>(lines_[l], u" ", [&](std::u16string_view t) { parts_.push_back({prefix, t}); });
      lineEnds_[l] = parts_.size();
    }
    index.FindWordIds(parts_, ids_);
  }

  // Appends the records of the groups looked up to `out`, one offset per group to `offsets`.
  void Encode(uint64_t& offset, std::vector<uint64_t>& offsets, std::string& out) const {
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
  std::vector<ProgressMark> marks_;
  std::vector<KeyPart> parts_;
  std::vector<uint32_t> ids_;
};

// Writes a whole table under the staged name of `target`, kept there for the commit.
Status WriteStagedTable(const std::filesystem::path& target, const std::string& bytes) {
  StagedFile table(target);
  if (Status status = table.Open(); !status.ok()) return status;
  if (!table.file().Write(bytes.data(), bytes.size())) return CannotWrite(table.stagedPath());
  return table.KeepUnsynced();
}

}  // namespace

Status BuildWordIndex(CorpusIndex& index, BuildReport* report) {
  const auto source = CorpusFileName(index.root(), CorpusFile::kDictionary, index.tag());
  TextFile dictionary;
  if (!dictionary.Open(source, TextFile::Mode::kRead)) return Status::NotFound(source, "cannot be opened");
  StagedFile postings(CorpusFileName(index.root(), CorpusFile::kPostings, index.tag()));
  if (Status status = postings.Open(); !status.ok()) return status;
  ProgressReporter progress(report, index.tag(), CorpusFile::kDictionary, dictionary);

  StringList words;
  std::vector<uint64_t> postingOffsets;
  uint64_t offset = 0;
  int64_t lineNumber = 0;
  DictionaryReader reader(dictionary);
  Status failed = Status::Ok();
  WriteBack writeBack(postings.file());
  std::string block;
  // A reader thread reads and parses lines ahead while this one encodes and writes the blocks.
  const auto consume = [&](const DictionaryBatch& batch) {
    for (const ProgressMark& mark : batch.marks()) progress.Report(mark);
    for (size_t l = 0; l < batch.size(); ++l) {
      const DictionaryLine& line = batch[l];
      ++lineNumber;
      if (!line.parsed) {
        if (report != nullptr) {
          ++report->skippedLines;
          if (report->firstSkipped.size() < kMaxReportedSkips) report->firstSkipped.push_back(lineNumber);
        }
        continue;
      }
      if (line.key.size() > kMaxKeyUnits) {
        if (report != nullptr) ++report->longKeys;
        continue;
      }
      if (!words.push_back(line.key)) {  // more key text than a list holds
        failed = CannotRead(source);
        return false;
      }
      postingOffsets.push_back(offset);
      const size_t n = line.end - line.begin;
      const int32_t* first = batch.first() + line.begin;
      const int32_t* second = batch.second() + line.begin;
      block.resize(4 + 8 * n);
      EncodeFixed32(block.data(), static_cast<uint32_t>(n));
      for (size_t i = 0; i < n; ++i) {
        EncodeFixed32(block.data() + 4 + 4 * i, static_cast<uint32_t>(first[i]));
        EncodeFixed32(block.data() + 4 + 4 * (n + i), static_cast<uint32_t>(second[i]));
      }
      if (!postings.file().Write(block.data(), block.size())) {
        failed = CannotWrite(postings.stagedPath());
        return false;
      }
      writeBack.Written(block.size());
      offset += block.size();
    }
    return true;
  };
  std::vector<int32_t> first, second;  // the reader thread's
  int64_t linesRead = 0;               // the reader thread's
  ReadAhead<DictionaryBatch>(
      BatchesInFlight(dictionary),
      [&](DictionaryBatch& batch) { return batch.Read(reader, dictionary, first, second, progress, linesRead); },
      consume);
  if (!failed.ok()) return failed;
  if (report != nullptr) report->dictionaryLines = lineNumber;
  if (Status status = postings.KeepUnsynced(); !status.ok()) return status;

  index.SetWordTable(std::move(words), std::move(postingOffsets));
  // Every record of a repeated key carries the offset of the key's last line, the one lookups find.
  const StringList& keys = index.words();
  std::string table;
  table.reserve(4 + keys.size() * kWordRecordBytes);
  PutFixed32(table, static_cast<uint32_t>(keys.size()));
  for (size_t k = 0; k < keys.size(); ++k) EncodeWordRecord(keys[k], *index.PostingOffset(keys[k]), table);
  return WriteStagedTable(CorpusFileName(index.root(), CorpusFile::kWordTable, index.tag()), table);
}

Status BuildSentenceIndex(CorpusIndex& index, BuildReport* report) {
  StagedFile records(CorpusFileName(index.root(), CorpusFile::kSentenceRecords, index.tag()));
  if (Status status = records.Open(); !status.ok()) return status;
  const auto source = CorpusFileName(index.root(), CorpusFile::kSentences, index.tag());
  TextFile sentences;
  if (!sentences.Open(source, TextFile::Mode::kRead)) return Status::NotFound(source, "cannot be opened");
  ProgressReporter progress(report, index.tag(), CorpusFile::kSentences, sentences);

  std::vector<uint64_t> sentenceOffsets;
  uint64_t offset = 0;
  int64_t lines = 0;  // the reader thread's
  // A reader thread reads batches and looks their tokens up (the key table is only read), while
  // this one encodes and writes them in order.
  Status written = Status::Ok();
  WriteBack writeBack(records.file());
  std::string block;
  ReadAhead<GroupBatch>(
      BatchesInFlight(sentences),
      [&](GroupBatch& batch) {
        if (!batch.Read(sentences, progress, lines)) return false;
        batch.LookUp(index);
        return true;
      },
      [&](const GroupBatch& batch) {
        block.clear();
        batch.Encode(offset, sentenceOffsets, block);
        if (!records.file().Write(block.data(), block.size())) {
          written = CannotWrite(records.stagedPath());
          return false;
        }
        writeBack.Written(block.size());
        for (const ProgressMark& mark : batch.marks()) progress.Report(mark);
        return true;
      });
  if (!written.ok()) return written;
  if (report != nullptr) report->sentenceGroups = static_cast<int64_t>(sentenceOffsets.size());
  if (Status status = records.KeepUnsynced(); !status.ok()) return status;

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
  Status status = BuildWordIndex(index, report);
  if (status.ok()) status = BuildSentenceIndex(index, report);
  // The staged files were left unsynced, so that the disk wrote the postings while the sentences
  // were encoded; all four must be on the disk before the commit record says they are complete.
  for (CorpusFile f : kIndexFiles) {
    if (status.ok()) status = SyncFile(StagedFileName(CorpusFileName(root, f, tag)));
  }
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
  // The index is in place and answers; the key table file only spares later loads the work of
  // decoding the keys and hashing them again.
  Status keyTable = WriteKeyTableFile(root, tag, index.words(), index.wordIds());
  if (report != nullptr) report->keyTableFile = std::move(keyTable);
  return Status::Ok();
}

Status BuildAllCorpora(const std::filesystem::path& root, const std::function<void(const BuildProgress&)>& onProgress,
                       const CorpusBuildDone& onCorpusDone) {
  for (std::u16string_view tag : {kTagBilingual, kTagMonolingual}) {
    BuildReport report;
    report.onProgress = onProgress;
    Status status = BuildCorpus(root, tag, &report);
    if (onCorpusDone) onCorpusDone(tag, report, status);
    if (!status.ok()) return status;
  }
  return Status::Ok();
}

}  // namespace tamrel
