// Query preparation: the language decision on typed text, forward maximum matching of Chinese
// text against the monolingual dictionary, space normalisation, splitting into terms, and the
// key under which the word table files each term.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"

namespace tamrel {

inline constexpr size_t kLongestCandidate = 10;  // units; longer dictionary words are never found

// English when the first unit is an ASCII letter, Chinese otherwise (digits, spaces, ...).
Language DecideLanguage(std::u16string_view query);

// Cuts `query` into dictionary words of `dictionary` ("0" + word is a key), longest candidate
// first (at most 10 units), a single character (both units of a surrogate pair) when nothing
// longer matches; no candidate ends inside a pair. Each word is followed by one space.
std::u16string SegmentQuery(const CorpusIndex& dictionary, std::u16string_view query);

// The same cut, a candidate being a word when any of `dictionaries` holds it: a query searched in
// several corpora is cut with the words of all of them, so that a word only one corpus holds
// stays whole.
std::u16string SegmentQuery(const std::vector<const CorpusIndex*>& dictionaries, std::u16string_view query);

// Collapses every run of spaces to one space, then drops one trailing space. Leading spaces stay.
void NormaliseQuery(std::u16string& query);

// The terms of a normalised query: split at every space (a leading space gives an empty term).
std::vector<std::u16string> SplitTerms(std::u16string_view query);

struct TermKeyResult {
  std::u16string key;         // "2" + normalised English term, or "0" + the term unchanged
  std::u16string normalised;  // the term as the search carries it on
};

// The key of one term: an English term (first unit an ASCII letter) goes through NormaliseWord
// and takes the prefix "2"; any other term keeps its text and takes "0".
TermKeyResult TermKey(std::u16string_view term);

// The key of a term already normalised by TermKey (the prefix decided on its first unit).
std::u16string NormalisedTermKey(std::u16string_view normalisedTerm);

}  // namespace tamrel
