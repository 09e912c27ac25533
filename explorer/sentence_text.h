// A corpus sentence as a person reads it outside the result page (in a flashcard, aloud): the
// word-separating spaces of a Chinese line taken out, control characters made spaces, and the
// language to read a piece of text in told from its script.
#pragma once

#include <string>
#include <string_view>

namespace tamrel {

// `text` with every control character (tabs and line breaks too) and line or paragraph separator
// made a space, runs of spaces made one, and no space at either end.
std::u16string PlainText(std::u16string_view text);

// PlainText of a segmented Chinese line with the spaces between words removed where a Chinese
// character or punctuation mark stands on either side ("我们 明天 去 。" -> "我们明天去。"); a space
// between two Latin words or numbers stays ("我 用 Visual Studio" -> "我用Visual Studio").
std::u16string JoinChineseWords(std::u16string_view line);

// PlainText of a pinyin line, one token per word with the punctuation of the Chinese repeated,
// joined as pinyin is written: no space before a closing or separating mark (。，、？！：；”’）》」
// and their like, an ellipsis after an ellipsis), none after an opening one (“‘（《「), none on
// either side of the name dot · ("nǐ hǎo ， “ péngyou ” 。" -> "nǐ hǎo， “péngyou”。").
std::u16string JoinPinyinWords(std::u16string_view line);

enum class SpokenLanguage { kNone, kMandarin, kEnglish };

// Mandarin when `text` holds a Han character, else English when it holds a Latin letter, else
// nothing to say.
SpokenLanguage SpokenLanguageOf(std::u16string_view text);

}  // namespace tamrel
