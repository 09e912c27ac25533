#include "bench/probe_client.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <vector>

namespace tamrel::bench {

namespace {

std::string ProbePath() {
  const char* path = std::getenv("TAMREL_BENCH_PROBE");
  return path != nullptr && *path != '\0' ? path : TAMREL_PROBE_PATH;
}

ProbeFigures ParseFigures(const std::string& text) {
  ProbeFigures figures;
  std::istringstream in(text);
  std::string pair;
  while (in >> pair) {
    const size_t eq = pair.find('=');
    if (eq == std::string::npos) continue;
    figures[pair.substr(0, eq)] = std::strtod(pair.c_str() + eq + 1, nullptr);
  }
  return figures;
}

}  // namespace

std::optional<ProbeFigures> RunProbe(const std::string& mode, const std::filesystem::path& dir) {
  const std::string probe = ProbePath();
  std::vector<std::string> args = {probe, mode, dir.string()};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    close(out[0]);
    close(out[1]);
    return std::nullopt;
  }
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execv(probe.c_str(), argv.data());
    std::perror(probe.c_str());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
  close(out[0]);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::cerr << probe << ' ' << mode << ' ' << dir.string() << " failed\n";
    return std::nullopt;
  }
  return ParseFigures(text);
}

}  // namespace tamrel::bench
