// The page shown when no reading of a query found anything: it names the query, as text, and
// says what a learner can try instead.
#pragma once

#include <string>
#include <string_view>

namespace tamrel {

// Longer queries are named by their first this many characters and an ellipsis.
inline constexpr size_t kNotFoundQueryShown = 200;

// The page for the typed `query`: escaped, control characters and unpaired surrogates shown as
// U+FFFD, so that any text shows as text.
std::u16string RenderNotFoundPage(std::u16string_view query);

}  // namespace tamrel
