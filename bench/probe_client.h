// Runs tamrel_probe in a child process and reads back its figures (see probe_main.cpp).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace tamrel::bench {

using ProbeFigures = std::map<std::string, double>;

// Runs `tamrel_probe mode dir` and waits for it. The key=value pairs it printed, or nothing when
// it could not be started or exited with a failure (its stderr passes through).
std::optional<ProbeFigures> RunProbe(const std::string& mode, const std::filesystem::path& dir);

}  // namespace tamrel::bench
