// Character classes the importer decides by: what separates words, what is dropped as invisible,
// and how English spacing is tidied (which text is Chinese is text/code_points.h's ContainsHan).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/code_points.h"

namespace tamrel {

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
