// The forms under which an English token of a sentence is compared with the words of dictionary
// senses and of the co-occurrence table: lower case, its WordNet base forms (went -> go), and for
// a contraction its parts (didn't -> did, do, not; I'm -> i, be), so that "hasn't" meets 没有.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// The lower-case forms of `token`, the token itself first; empty when it holds no ASCII letter.
std::vector<std::string> EnglishTokenForms(std::string_view token);

// `token` in lower case (ASCII letters only are changed).
std::string LowerAscii(std::string_view token);

}  // namespace tamrel
