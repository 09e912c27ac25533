// The sentence table loader on damaged bytes: the input is data/index2.datBI (record offsets),
// beside the valid word table, posting and sentence record files of the small corpus. Offsets
// may point anywhere in the record file or past it; reading sentences and searching must then
// leave the damaged records out, never crash.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  static const bool ready = (fuzz::WriteSmallCorpusExcept(root, CorpusFile::kSentenceTable), true);
  (void)ready;
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kSentenceTable, kTagBilingual), data, size);

  CorpusIndex index(root, kTagBilingual);
  (void)LoadCorpus(index);
  fuzz::ExerciseIndex(index);
  return 0;
}
