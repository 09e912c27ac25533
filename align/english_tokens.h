// English sentence text to the tokens the aligner links: words as the spaces separate them, with
// the punctuation at either end of a word split off, one mark a token ("Hi." -> "Hi" "."). Marks
// inside a word stay (don't, well-known, 3.5). The same cut for the co-occurrence table and for
// the gold set under tests/align/.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

std::vector<std::string> SplitEnglish(std::string_view line);

// `line` cut at single spaces (ASCII spaces and tabs), empty tokens left out: a line of tokens as given.
std::vector<std::string_view> SplitTokens(std::string_view line);

}  // namespace tamrel
