#include "runtime/runtime_folder.h"

#include <gtest/gtest.h>

#include "tests/runtime/scoped_environment.h"
#include "tests/support/test_support.h"

namespace tamrel {
namespace {

namespace fs = std::filesystem;

// A scratch folder with an installation in it (PREFIX/bin/tamrel-cli and PREFIX/share/tamrel/BDict),
// a home folder, and a current folder without a corpus; the environment starts with none of the
// variables the choice reads.
class RuntimeFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(prefix_ / "bin");
    fs::create_directories(prefix_ / "share/tamrel/BDict");
    test::WriteBytes(installed_, "");
    fs::create_directories(home_);
    fs::create_directories(current_);
    environment_.Unset("TAMREL_ROOT");
    environment_.Unset("XDG_DATA_HOME");
    environment_.Set("HOME", home_.string());
  }

  RuntimeFolder Choose(const fs::path& given, const fs::path& executable) {
    RuntimeFolder chosen;
    EXPECT_TRUE(ChooseRuntimeFolder(given, current_, executable, chosen).ok());
    return chosen;
  }

  test::RuntimeFolder scratch_;
  const fs::path prefix_ = scratch_ / "usr";
  const fs::path installed_ = prefix_ / "bin/tamrel-cli";
  const fs::path home_ = scratch_ / "home";
  const fs::path current_ = scratch_ / "somewhere";
  const fs::path built_ = scratch_ / "build/cli/tamrel-cli";  // a program run from its build folder
  test::ScopedEnvironment environment_;
};

TEST_F(RuntimeFolderTest, ShippedFolderIsShareTamrelBesideTheProgramsBinFolder) {
  EXPECT_EQ(ShippedFolder(installed_), prefix_ / "share/tamrel");
  EXPECT_EQ(ShippedFolder(built_), fs::path());
  fs::remove_all(prefix_ / "share/tamrel/BDict");
  EXPECT_EQ(ShippedFolder(installed_), fs::path());  // nothing installed to start from
}

TEST_F(RuntimeFolderTest, GivenFolderComesFirstThenTamrelRoot) {
  environment_.Set("TAMREL_ROOT", (scratch_ / "from-env").string());
  const RuntimeFolder given = Choose(scratch_ / "given", installed_);
  EXPECT_EQ(given.folder, scratch_ / "given");
  EXPECT_EQ(given.source, RuntimeFolder::Source::kGiven);
  EXPECT_EQ(given.shipped, prefix_ / "share/tamrel");

  const RuntimeFolder fromEnvironment = Choose("", built_);
  EXPECT_EQ(fromEnvironment.folder, scratch_ / "from-env");
  EXPECT_EQ(fromEnvironment.source, RuntimeFolder::Source::kGiven);
  EXPECT_EQ(fromEnvironment.shipped, fs::path());

  environment_.Set("TAMREL_ROOT", "");  // set but empty: as if unset
  EXPECT_EQ(Choose("", installed_).source, RuntimeFolder::Source::kUserData);
}

TEST_F(RuntimeFolderTest, CurrentFolderHoldingACorpusStaysTheRuntimeFolder) {
  fs::create_directories(current_ / "BDict");
  for (const fs::path& program : {installed_, built_}) {
    const RuntimeFolder chosen = Choose("", program);
    EXPECT_EQ(chosen.folder, current_);
    EXPECT_EQ(chosen.source, RuntimeFolder::Source::kCurrent);
    EXPECT_EQ(chosen.shipped, fs::path());
  }
}

TEST_F(RuntimeFolderTest, ProgramOutsideAnInstallationWorksInTheCurrentFolder) {
  const RuntimeFolder chosen = Choose("", built_);
  EXPECT_EQ(chosen.folder, current_);
  EXPECT_EQ(chosen.source, RuntimeFolder::Source::kCurrent);
}

TEST_F(RuntimeFolderTest, InstalledProgramUsesTheUsersDataFolder) {
  RuntimeFolder chosen = Choose("", installed_);
  EXPECT_EQ(chosen.folder, home_ / ".local/share/tamrel");
  EXPECT_EQ(chosen.source, RuntimeFolder::Source::kUserData);
  EXPECT_EQ(chosen.shipped, prefix_ / "share/tamrel");

  environment_.Set("XDG_DATA_HOME", (scratch_ / "xdg").string());
  EXPECT_EQ(Choose("", installed_).folder, scratch_ / "xdg/tamrel");

  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base directory rules say.
  environment_.Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(Choose("", installed_).folder, home_ / ".local/share/tamrel");
}

TEST_F(RuntimeFolderTest, InstalledProgramWithoutAHomeFails) {
  environment_.Unset("HOME");
  RuntimeFolder chosen;
  EXPECT_FALSE(ChooseRuntimeFolder("", current_, installed_, chosen).ok());
}

}  // namespace
}  // namespace tamrel
