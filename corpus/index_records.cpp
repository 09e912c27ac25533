#include "corpus/index_records.h"

#include "corpus/corpus_files.h"
#include "files/byte_coding.h"

namespace tamrel {

namespace {

// The bytes of one of the large index files: the mapping the loaders made, or, for an index that
// was not loaded that way, a mapping made for this one read and held by `temporary`.
bool FileBytes(const CorpusIndex& index, const MappedFile& kept, CorpusFile file, MappedFile& temporary,
               std::string_view& bytes) {
  if (kept.IsOpen()) {
    bytes = kept.bytes();
    return true;
  }
  if (!temporary.Open(CorpusFileName(index.root(), file, index.tag()))) return false;
  bytes = temporary.bytes();
  return true;
}

void GetInt32s(const char* p, uint32_t count, std::vector<int32_t>& out) {
  out.resize(count);
  for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<int32_t>(GetFixed32(p + 4 * size_t{i}));
}

// Takes one token block from the front of `rest`; false when it reaches past the end.
bool TakeTokenBlock(std::string_view& rest, TokenIds& ids) {
  if (rest.size() < 8) return false;
  const uint32_t count = GetFixed32(rest.data());
  if (uint64_t{count} * 8 > rest.size() - 8) return false;
  ids = TokenIds(rest.data() + 8, count);
  rest.remove_prefix(8 + size_t{count} * 8);
  return true;
}

void CopyIds(const TokenIds& view, std::vector<uint32_t>& ids) {
  ids.resize(view.size());
  for (size_t i = 0; i < view.size(); ++i) ids[i] = view[i];
}

}  // namespace

bool ReadPostingBlock(const CorpusIndex& index, uint64_t offset, PostingBlock& block, uint32_t limit) {
  MappedFile temporary;
  std::string_view file;
  if (!FileBytes(index, index.postingFile(), CorpusFile::kPostings, temporary, file)) return false;
  if (offset > file.size() || file.size() - offset < 4) return false;
  const char* head = file.data() + offset;
  const uint32_t count = GetFixed32(head);
  if (uint64_t{count} * 8 > file.size() - offset - 4) return false;
  const uint32_t keep = std::min(count, limit);
  block.count = count;
  GetInt32s(head + 4, keep, block.sentenceIds);
  GetInt32s(head + 4 + 4 * size_t{count}, keep, block.secondValues);
  return true;
}

bool ViewPostingIds(const CorpusIndex& index, uint64_t offset, PostingIds& ids) {
  if (!index.postingFile().IsOpen()) return false;
  const std::string_view file = index.postingFile().bytes();
  if (offset > file.size() || file.size() - offset < 4) return false;
  const char* head = file.data() + offset;
  const uint32_t count = GetFixed32(head);
  if (uint64_t{count} * 8 > file.size() - offset - 4) return false;
  ids = {head + 4, count};
  return true;
}

void PrefetchSentenceRecord(const CorpusIndex& index, int64_t sentenceId) {
  const auto offset = index.SentenceOffset(sentenceId);
  const std::string_view file = index.sentenceRecordFile().bytes();
  if (offset && *offset < file.size()) __builtin_prefetch(file.data() + *offset);
}

bool SentenceRecordBytes(const CorpusIndex& index, MappedFile& temporary, std::string_view& bytes) {
  return FileBytes(index, index.sentenceRecordFile(), CorpusFile::kSentenceRecords, temporary, bytes);
}

bool ViewSentenceRecord(const CorpusIndex& index, std::string_view file, int64_t sentenceId,
                        SentenceRecordView& record) {
  const auto offset = index.SentenceOffset(sentenceId);
  if (!offset || *offset > file.size()) return false;
  std::string_view rest = file.substr(*offset);
  return TakeTokenBlock(rest, record.chinese) && TakeTokenBlock(rest, record.pinyin) &&
         TakeTokenBlock(rest, record.english);
}

bool ReadSentenceRecord(const CorpusIndex& index, int64_t sentenceId, SentenceRecord& record) {
  MappedFile temporary;
  std::string_view file;
  SentenceRecordView view;
  if (!SentenceRecordBytes(index, temporary, file) || !ViewSentenceRecord(index, file, sentenceId, view)) return false;
  CopyIds(view.chinese, record.chinese);
  CopyIds(view.pinyin, record.pinyin);
  CopyIds(view.english, record.english);
  return true;
}

}  // namespace tamrel
