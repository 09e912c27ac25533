// Names of the files of one corpus. Every name is a fixed path inside the runtime folder with the
// corpus tag ("BI" bilingual, "MO" monolingual) appended directly after it: data/index1.datBI.
// The runtime folder is always passed in; an empty one stands for the current directory.
//
// Beside the four index files of a corpus, data/ holds files that keep them whole
// (corpus/index_commit.h): index.lock + tag (the build lock), stamp.dat + tag (which build the
// index in place came from) and, only while a build renames its files into place, commit.dat +
// tag; while a build runs, its staged files are the index file names + ".new". After its
// commit a build writes keytable.dat + tag, the key lookup ready to load (corpus/key_table_file.h).
// Next to
// data/config.data, data/config.data.lock is the lock of its writers, and a write stages under
// config.data.new.PID.N.
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
