#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace tamrel {
namespace {

using test::WriteBytes;

// What a file of the runtime folder is before the load: missing, a folder in its place (which no
// one can read, root included), or a file of these bytes.
struct FileState {
  enum class Kind { kMissing, kFolder, kBytes } kind = Kind::kMissing;
  std::string bytes;
};
const FileState kMissing{};
const FileState kFolder{FileState::Kind::kFolder, ""};
FileState Bytes(std::string bytes) { return FileState{FileState::Kind::kBytes, std::move(bytes)}; }

void Place(const std::filesystem::path& file, const FileState& state) {
  if (state.kind == FileState::Kind::kFolder) std::filesystem::create_directory(file);
  if (state.kind == FileState::Kind::kBytes) WriteBytes(file, state.bytes);
}

const std::string kPinyinOffMonoOff =
    "\xEF\xBB\xBF"
    "FIRST\nFLAGPRON##FALSE\nFLAGBI##TRUE\nFLAGMONO##FALSE\nFLAGSTARTUP##TRUE\n";
const SysSettings kSystemChanged{true, false, true, false};
const LearnerOptions kToneColoursOn{true};

struct LoadCase {
  const char* name;
  FileState config;
  FileState options;
  SysSettings system;
  LearnerOptions learner;
  Status::Kind systemRead;
  Status::Kind learnerRead;
};

TEST(LoadSettingsTest, EachFileIsReadOrLeavesItsDefaultsAndSaysWhy) {
  using Kind = Status::Kind;
  const std::vector<LoadCase> cases = {
      {"neither file: defaults, nothing to tell", kMissing, kMissing, {}, {}, Kind::kOk, Kind::kOk},
      {"both files read", Bytes(kPinyinOffMonoOff), Bytes(R"({"toneColours": true})"), kSystemChanged, kToneColoursOn,
       Kind::kOk, Kind::kOk},
      {"only the options file", kMissing, Bytes(R"({"toneColours": true})"), {}, kToneColoursOn, Kind::kOk, Kind::kOk},
      {"config.data unreadable, options still read",
       kFolder,
       Bytes(R"({"toneColours": true})"),
       {},
       kToneColoursOn,
       Kind::kIoError,
       Kind::kOk},
      {"options.json not JSON, config still read",
       Bytes(kPinyinOffMonoOff),
       Bytes("{\"toneColours\": tru"),
       kSystemChanged,
       {},
       Kind::kOk,
       Kind::kCorruption},
      {"options.json unreadable", kMissing, kFolder, {}, {}, Kind::kOk, Kind::kIoError},
      {"both unreadable", kFolder, kFolder, {}, {}, Kind::kIoError, Kind::kIoError},
  };
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::RuntimeFolder folder;
    Place(ConfigFileName(folder.path()), c.config);
    Place(LearnerOptionsFileName(folder.path()), c.options);
    const RuntimeSettings loaded = LoadSettings(folder.path());
    EXPECT_EQ(loaded.system, c.system);
    EXPECT_EQ(loaded.learner, c.learner);
    EXPECT_EQ(loaded.systemRead.kind(), c.systemRead) << loaded.systemRead.ToString();
    EXPECT_EQ(loaded.learnerRead.kind(), c.learnerRead) << loaded.learnerRead.ToString();
    EXPECT_EQ(loaded.ok(), c.systemRead == Kind::kOk && c.learnerRead == Kind::kOk);
    // A failure names the file it is about, so that the user can be told which one.
    if (!loaded.systemRead.ok()) {
      EXPECT_EQ(loaded.systemRead.file(), ConfigFileName(folder.path()));
    }
    if (!loaded.learnerRead.ok()) {
      EXPECT_EQ(loaded.learnerRead.file(), LearnerOptionsFileName(folder.path()));
    }
  }
}

}  // namespace
}  // namespace tamrel
