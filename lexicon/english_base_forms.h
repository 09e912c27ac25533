// The base forms an English word may be an inflection of, for a search that found nothing as
// typed: its irregular base from a table of common forms (went -> go, children -> child), then
// the regular ones (apples -> apple, tried -> try, stopped -> stop, making -> make). Candidates
// only: the caller keeps the first its corpus holds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// The candidates for `word` (lower case a-z), most likely first; none for a word of other letters.
std::vector<std::u16string> EnglishBaseForms(std::u16string_view word);

}  // namespace tamrel
