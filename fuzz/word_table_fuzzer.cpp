// The word table loader on damaged bytes: the input is data/index1.datBI, beside the valid
// posting, sentence table and sentence record files of the small corpus. Loading may fail, but
// neither the load nor any lookup, word list or search on what loaded may crash.
#include "corpus/word_record.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  static const bool ready = (fuzz::WriteSmallCorpusExcept(root, CorpusFile::kWordTable), true);
  (void)ready;
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kWordTable, kTagBilingual), data, size);

  CorpusIndex index(root, kTagBilingual);
  if (LoadCorpus(index).ok() && size >= 4) {
    // A table that loads holds exactly the records its count announces, all inside the file.
    const uint32_t count = static_cast<uint32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t{data[3]} << 24);
    TAMREL_FUZZ_CHECK(index.words().size() == count);
    TAMREL_FUZZ_CHECK(4 + uint64_t{count} * kWordRecordBytes <= size);
  }
  fuzz::ExerciseIndex(index);
  return 0;
}
