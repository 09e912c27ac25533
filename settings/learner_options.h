// The options added for learners, kept in a file of their own, data/options.json, beside
// data/config.data (whose bytes stay as they always were): a JSON object, one member per option,
// UTF-8 without a byte-order mark, for example {"toneColours": true}. Every option is off until the
// user turns it on (the language follows the system's until one is chosen); members this version does not know are kept
// when the file is rewritten.
#pragma once

#include <filesystem>
#include <functional>

#include "files/status.h"

namespace tamrel {

// The language of the window's texts: the system's (its locale), or one chosen.
enum class WindowLanguage { kSystem, kEnglish, kSimplifiedChinese };

struct LearnerOptions {
  bool toneColours = false;  // "toneColours": result pages colour pinyin and characters by tone
  // "wordListSenses": the numbered word list shows each word's first sense; written only once
  // turned on, so a file of a user who never does keeps its bytes
  bool wordListSenses = false;
  // "language": "en" or "zh_CN"; the system's when the member is missing (or names another)
  WindowLanguage language = WindowLanguage::kSystem;
  bool operator==(const LearnerOptions&) const = default;
};

// The options file of the runtime folder `root`.
std::filesystem::path LearnerOptionsFileName(const std::filesystem::path& root);

// Resets `options` to the defaults, then reads the file of `root` into it (a member of another type
// is skipped). A missing file is not a failure; a file that cannot be read (a FIFO, a folder: not
// a regular file), is not a JSON object or nests arrays or objects deeper than 64 levels is, and
// the defaults stay.
Status ReadLearnerOptions(LearnerOptions& options, const std::filesystem::path& root);

// Changes some options and keeps the rest as the file has them: under data/options.json.lock,
// reads the file (the defaults when it is missing), lets `change` alter the values, and replaces
// the file through a staged file renamed into place, so a failure or a crash leaves the previous
// file or the new one whole. Fails without writing when the file is read-only or cannot be read
// as ReadLearnerOptions reads it (not JSON, nested too deep, not a regular file).
Status UpdateLearnerOptions(const std::filesystem::path& root, const std::function<void(LearnerOptions&)>& change);

}  // namespace tamrel
