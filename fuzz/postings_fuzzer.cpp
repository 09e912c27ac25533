// The posting block reader on damaged bytes: the input is data/index11.datBI, beside the valid
// word table and sentence files of the small corpus, so that the word table's offsets land in
// damaged blocks (counts past the end, sentence IDs out of order or out of range).
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  static const bool ready = (fuzz::WriteSmallCorpusExcept(root, CorpusFile::kPostings), true);
  (void)ready;
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kPostings, kTagBilingual), data, size);

  CorpusIndex index(root, kTagBilingual);
  (void)LoadCorpus(index);
  fuzz::ExerciseIndex(index);
  return 0;
}
