// The word aligner: given a Chinese sentence cut into words and its English translation cut into
// tokens, the links between the words that translate each other. Precision first, since a wrong
// mark misleads a learner more than a missing one:
//  - a Chinese word links to the English words its CC-CEDICT senses name (base forms on both
//    sides; a phrase such as "be going to" links each of its words where they stand together);
//  - identical tokens (numbers, Latin words) and matching punctuation (。 and ".") link;
//  - where those leave gaps, Chinese and English words that occur together in the bilingual
//    corpus far more often than apart (Dice coefficient) link;
// and competitive linking takes the best-scored link first, each word linked once (a phrase's
// words together), relative positions breaking ties. Caches what it reads: one thread at a time.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "align/cooccurrence.h"
#include "align/sense_phrases.h"
#include "dictionary/dictionary_file.h"

namespace tamrel {

struct AlignLink {
  uint32_t chinese;  // index of the Chinese word
  uint32_t english;  // index of the English token
  auto operator<=>(const AlignLink&) const = default;
};

// Which kinds of evidence the aligner uses (all by default), to measure what each adds.
struct AlignParts {
  bool dictionary = true;
  bool identical = true;
  bool punctuation = true;
  bool cooccurrence = true;
};

class WordAligner {
 public:
  // `dictionary` and `table` (which may be null: no co-occurrence links) must outlive the aligner.
  WordAligner(const DictionaryFile& dictionary, const CooccurrenceTable* table, AlignParts parts = {});

  // The links of a pair, ordered by Chinese then English index; none when either side is empty
  // or longer than kMaxWords (no sentence is; the work grows with the product of the lengths).
  std::vector<AlignLink> Align(const std::vector<std::string_view>& chinese,
                               const std::vector<std::string_view>& english);

  // True when a sense phrase of the Chinese `word` holds the English word `lower` (in any of its forms).
  bool SensesHold(std::string_view word, std::string_view lower);

  // The co-occurrence table given, or null.
  const CooccurrenceTable* table() const { return table_; }

  static constexpr size_t kMaxWords = 500;

  // The least Dice coefficient that links two words the dictionary does not.
  static constexpr double kMinimumDice = 0.5;

 private:
  const std::vector<SensePhrase>& PhrasesOf(std::string_view word);
  const std::vector<std::string>& FormsOf(std::string_view token);

  const DictionaryFile& dictionary_;
  const CooccurrenceTable* table_;
  AlignParts parts_;
  // Looked up by string_view without making a string.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  std::unordered_map<std::string, std::vector<SensePhrase>, Hash, std::equal_to<>> phrases_;
  std::unordered_map<std::string, std::vector<std::string>, Hash, std::equal_to<>> forms_;
};

}  // namespace tamrel
