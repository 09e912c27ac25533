// Corpus preparation: the dictionary of a corpus derived from its sentence file. Every token
// gets a key ("0" Chinese, "1" pinyin, "3" English as written, "2" English normalised); each key's
// postings list the sentences that hold it with how often; the most frequent keys come first, so
// that they get the smallest word IDs and weigh least in the ranking.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/status.h"

namespace tamrel {

struct PrepareReport {
  int64_t groups = 0;
  int64_t keys = 0;
  struct LongKey {
    int64_t sentenceId;
    std::u16string key;
  };
  std::vector<LongKey> droppedKeys;  // keys over 50 units, left out
};

// Reads BDict/sents.final<tag> of the runtime folder `root` and writes BDict/word.dict<tag>. The
// sentence file is checked first: a line with a tab, an empty token (a double or leading space)
// or a group whose Chinese and pinyin token counts differ refuses the whole file (an
// kInvalidInput status naming the sentence file, the 1-based line and the reason), and nothing is
// written. The whole run holds the build lock of the corpus (waiting for a build or import of it
// to end, and finishing a commit one left half done); the new dictionary replaces the old one only
// once it is complete, in one synced rename. The sentence file is read twice, so that memory holds
// the keys and postings in compact arrays only; a file changed between the two reads is refused
// (kInvalidInput). A file that cannot be read or written gives an kIoError or kNotFound status
// naming it.
Status PrepareDictionary(const std::filesystem::path& root, std::u16string_view tag, PrepareReport& report);

}  // namespace tamrel
