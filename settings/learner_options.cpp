#include "settings/learner_options.h"

#include <unistd.h>

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "files/durable_files.h"
#include "files/staged_file.h"
#include "files/text_file.h"

namespace tamrel {

namespace {

constexpr const char* kToneColours = "toneColours";
constexpr const char* kWordListSenses = "wordListSenses";
constexpr const char* kLanguage = "language";
constexpr const char* kEnglish = "en";
constexpr const char* kSimplifiedChinese = "zh_CN";
// A settings file is a few bytes; anything much larger is not one of ours.
constexpr size_t kLargestFile = 1 << 20;
// Our file nests one level. JSON nested much deeper is not one of ours, and writing it back would
// recurse once a level: nlohmann::json's dump of 60,000 nested arrays overflows the stack.
constexpr int kDeepestNesting = 64;

// True when no array or object of `text` lies deeper than kDeepestNesting, counting the brackets
// outside strings; the parser, which does not recurse, finds whatever else is wrong.
bool NestsShallowly(std::string_view text) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;  // the escaped character, which may be a quote
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kDeepestNesting) return false;
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return true;
}

// The file as a JSON object: an empty object when it is missing.
Status ReadObject(const std::filesystem::path& file, nlohmann::json& object) {
  object = nlohmann::json::object();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return Status::Ok();
  // A FIFO, a device or a folder is refused on the opened descriptor, without blocking.
  TextFile in;
  if (Status status = in.OpenChecked(file, TextFile::Mode::kRead); !status.ok()) {
    return status.kind() == Status::Kind::kNotFound ? Status::IoError(file, "cannot be opened") : status;
  }
  std::string text;
  char block[1 << 14];
  while (const size_t got = in.Read(block, sizeof block)) {
    if (text.size() + got > kLargestFile) return Status::Corruption(file, "is too large for an options file");
    text.append(block, got);
  }
  if (!NestsShallowly(text)) {
    return Status::Corruption(file, "nests arrays or objects deeper than " + std::to_string(kDeepestNesting) +
                                        " levels: it is not an options file");
  }
  nlohmann::json parsed = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (!parsed.is_object()) return Status::Corruption(file, "is not a JSON object");
  object = std::move(parsed);
  return Status::Ok();
}

void ReadMembers(const nlohmann::json& object, LearnerOptions& options) {
  const auto tone = object.find(kToneColours);
  if (tone != object.end() && tone->is_boolean()) options.toneColours = tone->get<bool>();
  const auto senses = object.find(kWordListSenses);
  if (senses != object.end() && senses->is_boolean()) options.wordListSenses = senses->get<bool>();
  const auto language = object.find(kLanguage);
  if (language != object.end() && language->is_string()) {
    const std::string& name = language->get_ref<const std::string&>();
    if (name == kEnglish) options.language = WindowLanguage::kEnglish;
    if (name == kSimplifiedChinese) options.language = WindowLanguage::kSimplifiedChinese;
  }
}

}  // namespace

std::filesystem::path LearnerOptionsFileName(const std::filesystem::path& root) { return root / "data/options.json"; }

Status ReadLearnerOptions(LearnerOptions& options, const std::filesystem::path& root) {
  options = LearnerOptions{};
  nlohmann::json object;
  if (Status status = ReadObject(LearnerOptionsFileName(root), object); !status.ok()) return status;
  ReadMembers(object, options);
  return Status::Ok();
}

Status UpdateLearnerOptions(const std::filesystem::path& root, const std::function<void(LearnerOptions&)>& change) {
  const auto file = LearnerOptionsFileName(root);
  FileLock lock;
  if (Status status = lock.Acquire(root / "data/options.json.lock"); !status.ok()) return status;
  std::error_code error;
  if (std::filesystem::exists(file, error) && access(file.c_str(), W_OK) != 0) {
    return Status::IoError(file, "is read-only");
  }
  nlohmann::json object;
  if (Status status = ReadObject(file, object); !status.ok()) return status;
  LearnerOptions options;
  ReadMembers(object, options);
  change(options);
  object[kToneColours] = options.toneColours;
  if (options.wordListSenses || object.contains(kWordListSenses)) object[kWordListSenses] = options.wordListSenses;
  // The system's language is the member's absence, so a file written before there was a choice
  // keeps its bytes.
  switch (options.language) {
    case WindowLanguage::kSystem:
      object.erase(kLanguage);
      break;
    case WindowLanguage::kEnglish:
      object[kLanguage] = kEnglish;
      break;
    case WindowLanguage::kSimplifiedChinese:
      object[kLanguage] = kSimplifiedChinese;
      break;
  }
  return WriteFileStaged(file, object.dump(2) + "\n");
}

}  // namespace tamrel
