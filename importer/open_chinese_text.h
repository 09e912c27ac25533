// The one place that chooses the language tools an import uses (tamrel-cli import and the
// window's File > Import sentences...).
#pragma once

#include <filesystem>
#include <memory>

#include "corpus/status.h"
#include "importer/chinese_text.h"

namespace tamrel {

// The language tools for the runtime folder `root`. Until the segmenter, pinyin and conversion
// tables are part of the program this is a stand-in: text stays as written, every character is a
// word of its own and its pinyin is the character itself, so imported corpora are searchable by
// character but carry no real pinyin. Sets `status` and returns null when the tools cannot be
// loaded.
std::unique_ptr<ChineseText> OpenChineseText(const std::filesystem::path& root, Status& status);

}  // namespace tamrel
