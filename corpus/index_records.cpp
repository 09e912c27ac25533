#include "corpus/index_records.h"

#include "corpus/byte_coding.h"
#include "corpus/corpus_files.h"
#include "corpus/stdio_file_ex.h"

namespace tamrel {

namespace {

bool ReadInt32s(CStdioFileEx& file, uint32_t count, std::vector<int32_t>& out) {
  std::string bytes(size_t{count} * 4, '\0');
  if (file.Read(bytes.data(), bytes.size()) != bytes.size()) return false;
  out.resize(count);
  for (uint32_t i = 0; i < count; ++i) out[i] = static_cast<int32_t>(GetFixed32(bytes.data() + 4 * size_t{i}));
  return true;
}

// Reads one token block at the current position; `remaining` is what the file holds from there.
bool ReadTokenBlock(CStdioFileEx& file, int64_t& remaining, std::vector<uint32_t>& ids) {
  char head[8];
  if (remaining < 8 || file.Read(head, 8) != 8) return false;
  const uint32_t count = GetFixed32(head);
  const uint64_t bytes = uint64_t{count} * 8;
  remaining -= 8;
  if (bytes > static_cast<uint64_t>(remaining)) return false;
  std::string body(bytes, '\0');
  if (file.Read(body.data(), bytes) != bytes) return false;
  remaining -= static_cast<int64_t>(bytes);
  ids.resize(count);
  for (uint32_t i = 0; i < count; ++i) ids[i] = GetFixed32(body.data() + 8 * size_t{i});
  return true;
}

}  // namespace

int ReadPostingBlock(const CorpusIndex& index, uint64_t offset, PostingBlock& block, uint32_t limit) {
  CStdioFileEx file;
  if (!file.Open(CorpusFileName(CorpusFile::kPostings, index.tag), CStdioFileEx::modeRead)) return -1;
  const int64_t length = file.GetLength();
  if (length < 0 || offset > static_cast<uint64_t>(length) || static_cast<uint64_t>(length) - offset < 4) return -1;
  char head[4];
  if (file.Seek(static_cast<int64_t>(offset), CStdioFileEx::Origin::kBegin) < 0 || file.Read(head, 4) != 4) return -1;
  const uint32_t count = GetFixed32(head);
  if (uint64_t{count} * 8 > static_cast<uint64_t>(length) - offset - 4) return -1;
  const uint32_t keep = std::min(count, limit);
  block.count = count;
  if (!ReadInt32s(file, keep, block.sentenceIds)) return -1;
  const int64_t seconds = static_cast<int64_t>(offset) + 4 + int64_t{count} * 4;
  if (file.Seek(seconds, CStdioFileEx::Origin::kBegin) < 0 || !ReadInt32s(file, keep, block.secondValues)) return -1;
  return 0;
}

int ReadSentenceRecord(const CorpusIndex& index, int64_t sentenceId, SentenceRecord& record) {
  if (sentenceId < 0 || static_cast<uint64_t>(sentenceId) >= index.sentenceOffsets.size()) return -1;
  const uint64_t offset = index.sentenceOffsets[static_cast<size_t>(sentenceId)];
  CStdioFileEx file;
  if (!file.Open(CorpusFileName(CorpusFile::kSentenceRecords, index.tag), CStdioFileEx::modeRead)) return -1;
  const int64_t length = file.GetLength();
  if (length < 0 || offset > static_cast<uint64_t>(length)) return -1;
  if (file.Seek(static_cast<int64_t>(offset), CStdioFileEx::Origin::kBegin) < 0) return -1;
  int64_t remaining = length - static_cast<int64_t>(offset);
  if (!ReadTokenBlock(file, remaining, record.chinese) || !ReadTokenBlock(file, remaining, record.pinyin) ||
      !ReadTokenBlock(file, remaining, record.english)) {
    return -1;
  }
  return 0;
}

}  // namespace tamrel
