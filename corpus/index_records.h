// Reading one posting block and one sentence record of a loaded corpus by offset, with every
// count checked against the file size, so damaged files give false instead of wild reads.
//
// Posting file, data/index11.dat + tag: blocks one after the other, no header. Block:
//   0      4     n, number of postings
//   4      4n    sentence IDs, signed 32-bit, ascending
//   4+4n   4n    second values, signed 32-bit, same order
// Sentence record file, data/index21.dat + tag: per sentence three token blocks (Chinese,
// pinyin, English). Token block:
//   0      4     n, number of tokens
//   4      4     zero
//   8+8i   8     word ID of token i (readers use its low 32 bits)
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "corpus/posting_ids.h"
#include "files/byte_coding.h"

namespace tamrel {

struct PostingBlock {
  uint32_t count = 0;                 // n as stored in the block
  std::vector<int32_t> sentenceIds;   // the first min(n, limit) IDs, in block order
  std::vector<int32_t> secondValues;  // the same number of second values
};

// Reads the block at `offset` of the posting file of `index`, keeping at most `limit` postings.
// False when the file cannot be opened or the block reaches past its end.
[[nodiscard]] bool ReadPostingBlock(const CorpusIndex& index, uint64_t offset, PostingBlock& block,
                                    uint32_t limit = UINT32_MAX);

// Views the IDs of the block at `offset` of the mapped posting file of `index`. False when the
// file is not mapped (it is then read at each query) or the block reaches past its end.
[[nodiscard]] bool ViewPostingIds(const CorpusIndex& index, uint64_t offset, PostingIds& ids);

struct SentenceRecord {
  std::vector<uint32_t> chinese, pinyin, english;  // word IDs of the three token blocks
};

// The word IDs of one token block where they lie in the record file's bytes.
class TokenIds {
 public:
  TokenIds() = default;
  TokenIds(const char* first, uint32_t count) : first_(first), count_(count) {}
  size_t size() const { return count_; }
  uint32_t operator[](size_t i) const { return GetFixed32(first_ + 8 * i); }

 private:
  const char* first_ = nullptr;  // the low half of the first word ID
  uint32_t count_ = 0;
};

// A sentence record viewed in place: valid as long as the bytes it was viewed in.
struct SentenceRecordView {
  TokenIds chinese, pinyin, english;
};

// The bytes of the sentence record file of `index`: the loaders' mapping, or one made now and
// kept by `temporary` for an index that was not loaded that way. False when it cannot be mapped.
[[nodiscard]] bool SentenceRecordBytes(const CorpusIndex& index, MappedFile& temporary, std::string_view& bytes);

// Views the record of `sentenceId` in `file` (SentenceRecordBytes). False when the ID is outside
// the sentence table or a block reaches past the end of the file.
[[nodiscard]] bool ViewSentenceRecord(const CorpusIndex& index, std::string_view file, int64_t sentenceId,
                                      SentenceRecordView& record);

// Asks the processor to fetch the start of the record of `sentenceId` from a mapped record file
// ahead of reading it, so that the cache misses of several records overlap.
void PrefetchSentenceRecord(const CorpusIndex& index, int64_t sentenceId);

// Reads the record of `sentenceId`. False when the ID is outside the sentence table, the file
// cannot be opened, or a block reaches past the end of the file.
[[nodiscard]] bool ReadSentenceRecord(const CorpusIndex& index, int64_t sentenceId, SentenceRecord& record);

}  // namespace tamrel
