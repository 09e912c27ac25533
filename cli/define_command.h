// tamrel-cli define: the dictionary entries of a Chinese word, a pinyin string or an English word.
#pragma once

#include <string>

namespace tamrel::cli {

// Prints the entries `text` names (dictionary/dictionary.h): a text with Chinese characters is a
// Chinese word (simplified or traditional); pinyin with tones is pinyin; other letters are English,
// and pinyin when no sense is those words alone and they read as pinyin. Pinyin readings are ranked by how many
// sentences of the runtime folder's corpora hold each word, when the corpora load. With `json`, one JSON object a line
// per entry. 0 when something was found, 1 when nothing was, 2 when the dictionary cannot be read.
int Define(const std::string& text, bool json);

}  // namespace tamrel::cli
