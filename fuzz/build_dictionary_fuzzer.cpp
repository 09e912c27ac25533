// The dictionary reader of the index build on damaged bytes: the input is BDict/word.dictBI
// beside the valid sentence file of the small corpus. The build may refuse or skip lines; when
// it succeeds, the index it made must load and answer every query without a crash.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  fuzz::ClearRuntimeFolder(root);
  fuzz::WriteSmallCorpusExcept(root, CorpusFile::kDictionary);
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kDictionary, kTagBilingual), data, size);

  BuildReport report;
  if (!BuildCorpus(root, kTagBilingual, &report).ok()) return 0;
  CorpusIndex index(root, kTagBilingual);
  const Status loaded = LoadCorpus(index);
  TAMREL_FUZZ_CHECK(loaded.ok());  // what the build wrote, the loader reads
  TAMREL_FUZZ_CHECK(static_cast<int64_t>(index.sentenceCount()) == report.sentenceGroups);
  fuzz::ExerciseIndex(index);
  return 0;
}
