// The forms under which an English token of a sentence is compared with the words of dictionary
// senses and of the co-occurrence table: lower case, its WordNet base forms (went -> go), the
// subject form of a pronoun (your -> you), and for a contraction its parts (didn't -> did, do,
// not; I'm -> i, be; what's -> what, be), so that "hasn't" meets 没有.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// The lower-case forms of `token`, the token itself first; empty when it holds no ASCII letter.
// A contraction has an apostrophe in its first form (IsContraction).
std::vector<std::string> EnglishTokenForms(std::string_view token);

// True when `forms` (EnglishTokenForms) are a contraction's, a token that holds two words.
bool IsContraction(const std::vector<std::string>& forms);

// `token` in lower case (ASCII letters only are changed).
std::string LowerAscii(std::string_view token);

// `token` as it is compared and counted: lower case, curly apostrophes straight (the first of
// its forms, or the token in lower case when it has no letters).
std::string EnglishKey(std::string_view token);

}  // namespace tamrel
