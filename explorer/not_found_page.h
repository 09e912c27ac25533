// The page shown when no reading of a query found anything: it names the query, as text, and
// says what a learner can try instead.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tamrel {

// Longer queries are named by their first this many characters and an ellipsis.
inline constexpr size_t kNotFoundQueryShown = 200;

// The not-found page beside the result page `resultPage` (data/notFound.html), a file of its own so
// that the result page on display stays as it was.
std::filesystem::path NotFoundPageFileName(const std::filesystem::path& resultPage);

// The page for the typed `query`: escaped, control characters and unpaired surrogates shown as
// U+FFFD, so that any text shows as text.
std::u16string RenderNotFoundPage(std::u16string_view query);

}  // namespace tamrel
