// Names of the files of one corpus. Every name is a fixed path inside the runtime folder with the
// corpus tag ("BI" bilingual, "MO" monolingual) appended directly after it: data/index1.datBI.
// The runtime folder is always passed in; an empty one stands for the current directory.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tamrel {

enum class CorpusFile {
  kDictionary,      // BDict/word.dict: keys with posting lists (source)
  kSentences,       // BDict/sents.final: three lines per sentence group (source)
  kWordTable,       // data/index1.dat: every key with its posting offset
  kPostings,        // data/index11.dat: the posting blocks
  kSentenceTable,   // data/index2.dat: the offset of every sentence record
  kSentenceRecords  // data/index21.dat: the sentence records as word IDs
};

inline constexpr std::u16string_view kTagBilingual = u"BI";
inline constexpr std::u16string_view kTagMonolingual = u"MO";

// Path of `file` for `tag` in the runtime folder `root`, e.g. ROOT/data/index11.datMO.
std::filesystem::path CorpusFileName(const std::filesystem::path& root, CorpusFile file, std::u16string_view tag);

}  // namespace tamrel
