// The sentence file reader of the index build on damaged bytes: the input is BDict/sents.finalBI
// beside the valid dictionary of the small corpus, so that the dictionary's postings name
// sentences that are missing or different. When the build succeeds, the index it made must load
// and answer every query without a crash.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  fuzz::ClearRuntimeFolder(root);
  fuzz::WriteSmallCorpusExcept(root, CorpusFile::kSentences);
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kSentences, kTagBilingual), data, size);

  BuildReport report;
  if (!BuildCorpus(root, kTagBilingual, &report).ok()) return 0;
  CorpusIndex index(root, kTagBilingual);
  const Status loaded = LoadCorpus(index);
  TAMREL_FUZZ_CHECK(loaded.ok());  // what the build wrote, the loader reads
  TAMREL_FUZZ_CHECK(static_cast<int64_t>(index.sentenceCount()) == report.sentenceGroups);
  fuzz::ExerciseIndex(index);
  return 0;
}
