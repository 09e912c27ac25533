// The level file reader on damaged bytes: the input's first byte chooses how, the rest is the
// file. With bit 0 set, the identity asked for is the one the header names and the body's digest
// is made right, so that the checks behind them (length, buckets) are reached too. Whatever the
// file holds, decoding must refuse it or give levels that every level order can use.
#include <string>

#include "corpus/key_table_file.h"
#include "files/byte_coding.h"
#include "fuzz/fuzz_support.h"
#include "search/level_file.h"
#include "search/level_order.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  if (size == 0) return 0;
  const bool forge = (data[0] & 1) != 0;
  std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  LevelFileIdentity identity{3, 2, 1, 1};
  if (forge && file.size() >= kLevelFileHeaderBytes) {
    identity = {GetFixed32(file.data() + 12), GetFixed64(file.data() + 16), GetFixed64(file.data() + 24),
                GetFixed64(file.data() + 32)};
    if (identity.sentences > (1u << 20)) return 0;  // counts come from a loaded index, never this large
    std::string digest;
    PutFixed64(digest, Digest64(std::string_view(file).substr(kLevelFileHeaderBytes)));
    file.replace(40, 8, digest);
  }
  SentenceLevels levels;
  if (!DecodeLevelFile("levels.dat", file, identity, levels).ok()) {
    TAMREL_FUZZ_CHECK(levels.sentences.empty() && levels.wordBuckets.empty());
    return 0;
  }
  TAMREL_FUZZ_CHECK(levels.sentences.size() == identity.sentences);
  LevelTerm term;
  for (size_t id = 0; id <= levels.sentences.size() + 1; ++id) term.ids.push_back(static_cast<int32_t>(id));
  term.weight = 3;
  for (size_t w = 0; w <= levels.wordBuckets.size(); ++w) (void)levels.BucketOf(static_cast<uint32_t>(w));
  for (int level = kMinLevel; level <= kMaxLevel; ++level) {
    term.bucket = static_cast<uint8_t>(level % 9);
    std::vector<LevelTerm> terms{term};
    const std::vector<int32_t> ids = LevelOrderedIds(terms, {&levels, level}, 20);
    TAMREL_FUZZ_CHECK(ids.size() <= 20);
    for (int32_t id : ids) (void)HighestBucket(levels, id);
  }
  return 0;
}
