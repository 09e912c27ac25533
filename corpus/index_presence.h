// Whether a corpus's index must be built before it can be searched: its sources are there but one
// of its four index files is not (never built, or removed because its sources were replaced).
#pragma once

#include <filesystem>
#include <string_view>

#include "files/status.h"

namespace tamrel {

// True when corpus `tag` of the runtime folder `root` has its sentence file and dictionary (BDict/)
// but one of its index files is missing. A corpus without sources has nothing to build from.
bool IndexMissing(const std::filesystem::path& root, std::u16string_view tag);

// IndexMissing of either corpus.
bool AnyIndexMissing(const std::filesystem::path& root);

// Removes the index files of corpus `tag` (the four, and the key table made from them), so that
// IndexMissing says it must be built again: for sources replaced outside a build. Fails naming the
// first file that could not be removed; missing files are no failure.
Status RemoveIndex(const std::filesystem::path& root, std::u16string_view tag);

}  // namespace tamrel
