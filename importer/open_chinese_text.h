// The one place that chooses the language tools an import uses (tamrel-cli import and the
// window's File > Import sentences...).
#pragma once

#include <filesystem>
#include <memory>

#include "files/status.h"
#include "importer/chinese_text.h"

namespace tamrel {

// The language tools for the runtime folder `root`: the lexicon's segmenter and pinyin, and
// OpenCC's traditional-to-simplified conversion. The lexicon is the one beside the running
// program, else the runtime folder's resources/lexicon/lexicon.tsv. Sets `status` and returns null
// when the tools cannot be loaded.
std::unique_ptr<ChineseText> OpenChineseText(const std::filesystem::path& root, Status& status);

}  // namespace tamrel
