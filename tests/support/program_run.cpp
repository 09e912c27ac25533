#include "tests/support/program_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <thread>

#include "tests/support/test_support.h"

namespace tamrel::test {

namespace fs = std::filesystem;

ProgramRun RunProgram(const fs::path& program, const fs::path& folder, const std::vector<std::string>& args,
                      const std::string& input, const fs::path& outputFile, int seconds,
                      const std::vector<std::string>& environment) {
  // Standard input, output and error go through files in a scratch folder of this run.
  std::string scratch = (fs::temp_directory_path() / "tamrel-cli-run-XXXXXX").string();
  if (mkdtemp(scratch.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a scratch folder";
    return {};
  }
  const fs::path io = scratch;
  WriteBytes(io / "in", input);
  std::vector<std::string> words = {program.filename().string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"LC_ALL=C", "LANG=C", "PATH=/usr/bin:/bin", "HOME=" + io.string()};
  env.insert(env.end(), environment.begin(), environment.end());
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::string in = io / "in", out = outputFile.empty() ? io / "out" : outputFile, err = io / "err";

  const pid_t pid = fork();
  if (pid == 0) {
    // Only calls that are safe between fork and exec.
    const int fdIn = open(in.c_str(), O_RDONLY);
    const int fdOut = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int fdErr = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fdIn < 0 || fdOut < 0 || fdErr < 0 || dup2(fdIn, 0) < 0 || dup2(fdOut, 1) < 0 || dup2(fdErr, 2) < 0 ||
        chdir(folder.c_str()) != 0) {
      _exit(126);
    }
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  ProgramRun outcome;
  int status = 0;
  pid_t waited = pid < 0 ? -1 : 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (waited == 0) {
    waited = waitpid(pid, &status, WNOHANG);
    if (waited == 0 && std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << program.filename().string() << " did not end within " << seconds << " s; killed";
      kill(pid, SIGKILL);
      waited = waitpid(pid, &status, 0);
    } else if (waited == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  if (waited != pid) {
    ADD_FAILURE() << "cannot run " << program;
  } else {
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  if (outputFile.empty()) outcome.out = ReadBytes(out);
  outcome.err = ReadBytes(err);
  std::error_code ignored;
  fs::remove_all(io, ignored);
  return outcome;
}

}  // namespace tamrel::test
