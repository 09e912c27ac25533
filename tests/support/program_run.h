// Running one of the built programs as a user runs it, for the tests of tamrel-cli: in a folder of
// the test's, with a fixed environment, giving its exit code, standard output and standard error.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tamrel::test {

struct ProgramRun {
  int exitCode = -1;  // 128 + the signal when it was killed
  std::string out;
  std::string err;
};

// Runs `program ARGS...` in `folder` with `input` on standard input. The environment is fixed
// (C locale, no inherited variables, and `environment`'s NAME=VALUE entries), and argv[0] is the
// program's file name as a user on the PATH types it. Standard output goes to `outputFile` when
// one is given ("/dev/full": every write fails), and ProgramRun::out is then empty. A run that has
// not ended after `seconds` is killed and fails the test, so that a command that blocks (on a
// FIFO, say) cannot hang the suite.
ProgramRun RunProgram(const std::filesystem::path& program, const std::filesystem::path& folder,
                      const std::vector<std::string>& args, const std::string& input = "",
                      const std::filesystem::path& outputFile = {}, int seconds = 120,
                      const std::vector<std::string>& environment = {});

}  // namespace tamrel::test
