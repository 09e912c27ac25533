#include "settings/learner_options.h"

#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "files/durable_files.h"
#include "files/staged_file.h"

namespace tamrel {

namespace {

constexpr const char* kToneColours = "toneColours";
// A settings file is a few bytes; anything much larger is not one of ours.
constexpr std::streamoff kLargestFile = 1 << 20;

// The file as a JSON object: an empty object when it is missing.
Status ReadObject(const std::filesystem::path& file, nlohmann::json& object) {
  object = nlohmann::json::object();
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return Status::Ok();
  std::ifstream in(file, std::ios::binary);
  if (!in) return Status::IoError(file, "cannot be opened");
  const uintmax_t size = std::filesystem::file_size(file, error);
  if (error) return Status::IoError(file, "cannot be read");  // a folder, for one
  if (size > static_cast<uintmax_t>(kLargestFile)) return Status::Corruption(file, "is too large for an options file");
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) return Status::IoError(file, "cannot be read");
  nlohmann::json parsed = nlohmann::json::parse(text.str(), nullptr, /*allow_exceptions=*/false);
  if (!parsed.is_object()) return Status::Corruption(file, "is not a JSON object");
  object = std::move(parsed);
  return Status::Ok();
}

void ReadMembers(const nlohmann::json& object, LearnerOptions& options) {
  const auto tone = object.find(kToneColours);
  if (tone != object.end() && tone->is_boolean()) options.toneColours = tone->get<bool>();
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
  return WriteFileStaged(file, object.dump(2) + "\n");
}

}  // namespace tamrel
