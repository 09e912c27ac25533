// The sentence record reader on damaged bytes: the input is data/index21.datBI, beside the valid
// word table, posting and sentence table files of the small corpus, so that the valid offsets
// land in damaged token blocks (counts past the end, word IDs outside the word table).
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  static const bool ready = (fuzz::WriteSmallCorpusExcept(root, CorpusFile::kSentenceRecords), true);
  (void)ready;
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kSentenceRecords, kTagBilingual), data, size);

  CorpusIndex index(root, kTagBilingual);
  (void)LoadCorpus(index);
  fuzz::ExerciseIndex(index);
  return 0;
}
