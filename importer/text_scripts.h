// Character classes the importer decides by: which text is Chinese (it holds a Han character),
// what separates words, and how English spacing is tidied. Code points, not UTF-16 units: a
// character outside the Basic Multilingual Plane is never cut in two.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

// True for a character of the Han script (CJK ideographs of every block, 々, 〇).
bool IsHanCharacter(char32_t c);

// True when `text` holds at least one Han character: the test of "Chinese" for a whole line.
bool ContainsHan(std::u16string_view text);

// The code point at `i` of `text` and the units it takes (an unpaired surrogate counts as itself).
char32_t CodePointAt(std::u16string_view text, size_t i, size_t& units);

// Number of characters (code points) of `text`.
size_t CountCharacters(std::u16string_view text);

// Every character of `text` as a string of its own.
std::vector<std::u16string> SplitCharacters(std::u16string_view text);

// True for what separates the words of an imported Chinese sentence: ASCII white space and the
// Unicode space characters (no-break space, ideographic space and the like). Zero-width marks are
// not spaces: the caller drops the invisible ones itself.
bool IsSeparatorSpace(char32_t c);

// True for the invisible characters dropped from Chinese text: zero-width space, word joiner and
// a byte-order mark inside a line. Direction marks and joiners stay, as text.
bool IsDroppedInvisible(char32_t c);

// English as the corpus stores it: every run of ASCII white space (spaces, tabs, CR, VT, FF)
// becomes one space, and none is left at either end. Nothing else changes.
std::u16string CollapseSpaces(std::u16string_view text);

}  // namespace tamrel
