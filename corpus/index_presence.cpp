#include "corpus/index_presence.h"

#include "corpus/corpus_files.h"
#include "corpus/key_table_file.h"
#include "files/durable_files.h"

namespace tamrel {

namespace {

constexpr CorpusFile kIndexFiles[] = {CorpusFile::kWordTable, CorpusFile::kPostings, CorpusFile::kSentenceTable,
                                      CorpusFile::kSentenceRecords};

}  // namespace

bool IndexMissing(const std::filesystem::path& root, std::u16string_view tag) {
  std::error_code error;
  for (CorpusFile source : {CorpusFile::kDictionary, CorpusFile::kSentences}) {
    if (!std::filesystem::exists(CorpusFileName(root, source, tag), error)) return false;
  }
  for (CorpusFile index : kIndexFiles) {
    if (!std::filesystem::exists(CorpusFileName(root, index, tag), error)) return true;
  }
  return false;
}

bool AnyIndexMissing(const std::filesystem::path& root) {
  return IndexMissing(root, kTagBilingual) || IndexMissing(root, kTagMonolingual);
}

Status RemoveIndex(const std::filesystem::path& root, std::u16string_view tag) {
  // The word table first: a corpus without it is never loaded, whatever else is left.
  for (CorpusFile index : kIndexFiles) {
    if (Status removed = RemoveFile(CorpusFileName(root, index, tag)); !removed.ok()) return removed;
  }
  return RemoveFile(KeyTableFileName(root, tag));
}

}  // namespace tamrel
