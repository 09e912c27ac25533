#include "corpus/corpus_files.h"

#include "text/text_utils.h"

namespace tamrel {

std::filesystem::path CorpusFileName(const std::filesystem::path& root, CorpusFile file, std::u16string_view tag) {
  const char* fixed = "";
  switch (file) {
    case CorpusFile::kDictionary:
      fixed = "BDict/word.dict";
      break;
    case CorpusFile::kSentences:
      fixed = "BDict/sents.final";
      break;
    case CorpusFile::kWordTable:
      fixed = "data/index1.dat";
      break;
    case CorpusFile::kPostings:
      fixed = "data/index11.dat";
      break;
    case CorpusFile::kSentenceTable:
      fixed = "data/index2.dat";
      break;
    case CorpusFile::kSentenceRecords:
      fixed = "data/index21.dat";
      break;
  }
  return root / (fixed + Utf16ToUtf8(tag));
}

}  // namespace tamrel
