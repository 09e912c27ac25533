// Corpus preparation on arbitrary bytes: the input is BDict/sents.finalBI. Preparation may
// refuse the file; when it accepts it, the dictionary it wrote and the same sentence file must
// build (preparation's checks are at least as strict as the build's), and the index must load
// and answer every query.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  fuzz::ClearRuntimeFolder(root);
  fuzz::WriteBytes(CorpusFileName(root, CorpusFile::kSentences, kTagBilingual), data, size);

  PrepareReport prepareReport;
  if (!PrepareDictionary(root, kTagBilingual, prepareReport).ok()) return 0;
  BuildReport report;
  const Status built = BuildCorpus(root, kTagBilingual, &report);
  if (!built.ok()) std::fprintf(stderr, "build after prepare: %s\n", built.ToString().c_str());
  TAMREL_FUZZ_CHECK(built.ok());
  TAMREL_FUZZ_CHECK(report.skippedLines == 0);  // a prepared dictionary keeps the layout
  CorpusIndex index(root, kTagBilingual);
  const Status loaded = LoadCorpus(index);
  TAMREL_FUZZ_CHECK(loaded.ok());
  fuzz::ExerciseIndex(index);
  return 0;
}
