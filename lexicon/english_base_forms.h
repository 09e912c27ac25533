// The base forms an English word may be an inflection of, as WordNet's morphology finds them
// (its "morphy"): first the word's entries in WordNet's exception lists of irregular forms
// (went -> go, children -> child, stopped -> stop; resources/lexicon/english_exceptions.tsv),
// then its detachment rules for nouns, verbs and adjectives (apples -> apple, boxes -> box,
// making -> make, bigger -> big), and last two regular patterns that WordNet leaves to its lists
// (blogged -> blog, copied -> copy). Candidates only, unchecked against any word list: the caller
// keeps the first its corpus or dictionary holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// The candidates for `word` (lower case a-z), most likely first, without the word itself; none
// for a word of other letters. A rule's candidate is left out when it is shorter than three
// letters or what the rule leaves of the word has no vowel ("thing" is no form of "the"; the y
// of "dries" -> "dry" counts as one).
std::vector<std::u16string> EnglishBaseForms(std::u16string_view word);

}  // namespace tamrel
