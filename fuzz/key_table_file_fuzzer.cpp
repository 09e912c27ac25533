// The key table file reader on damaged bytes: the input's first byte chooses how, the rest is
// data/keytable.datBI beside the six valid files of the small corpus. With bit 0 of the first
// byte set, the header is made to name the word table in place and to carry the right digest of
// the body, so that the checks behind the digests (shape, ends, slots) are reached too. The load
// must succeed whatever the file holds, since the word table is whole; a file the digests refuse
// changes nothing; a forged one that passes them may change the answers, never crash a lookup,
// a word list or a search.
#include "corpus/index_commit.h"
#include "corpus/key_table_file.h"
#include "files/byte_coding.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tamrel;
  const std::filesystem::path& root = fuzz::RuntimeFolder();
  static const std::vector<std::u16string> pristineWords = [&] {
    fuzz::BuildSmallCorpus(root, kTagBilingual);
    CorpusIndex index(root, kTagBilingual);
    TAMREL_FUZZ_CHECK(LoadWordTable(index).ok());
    std::vector<std::u16string> words;
    for (size_t k = 0; k < index.words().size(); ++k) words.emplace_back(index.words()[k]);
    return words;
  }();
  if (size == 0) return 0;
  const bool forge = (data[0] & 1) != 0;
  std::string file(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (forge && file.size() >= kKeyTableHeaderBytes) {
    const std::string wordTable = fuzz::ReadBytes(CorpusFileName(root, CorpusFile::kWordTable, kTagBilingual));
    std::string identity;
    PutFixed64(identity, wordTable.size());
    PutFixed64(identity, ReadBuildStamp(root, kTagBilingual));
    PutFixed64(identity, Digest64(wordTable));
    file.replace(16, 24, identity);
    std::string digest;
    PutFixed64(digest, Digest64(std::string_view(file).substr(kKeyTableHeaderBytes)));
    file.replace(48, 8, digest);
  }
  fuzz::WriteBytes(KeyTableFileName(root, kTagBilingual), file);

  CorpusIndex index(root, kTagBilingual);
  TAMREL_FUZZ_CHECK(LoadCorpus(index).ok());
  if (!forge) {
    // Unforged damage never gets past the digests: the keys are those of the word table.
    TAMREL_FUZZ_CHECK(index.words().size() == pristineWords.size());
    for (size_t k = 0; k < pristineWords.size(); ++k) TAMREL_FUZZ_CHECK(index.words()[k] == pristineWords[k]);
    fuzz::ExerciseIndex(index);
    return 0;
  }
  // A forged table may miss keys or list others: lookups only must stay inside the index.
  const StringList& words = index.words();
  for (size_t id = 0; id < words.size() && id < 64; ++id) {
    const std::optional<uint32_t> found = index.WordId(words[id]);
    TAMREL_FUZZ_CHECK(!found || *found < words.size());
    (void)index.PostingOffset(words[id]);
  }
  for (const Language language : {Language::kEnglish, Language::kChinese}) (void)ListWords(index, 0, language, 64);
  for (const std::u16string& query : fuzz::SmallCorpusQueries()) {
    std::u16string text = query;
    std::vector<ResultSentence> results;
    SearchCorpus(text, index, results);
    TAMREL_FUZZ_CHECK(results.size() <= kMaxResults);
  }
  return 0;
}
