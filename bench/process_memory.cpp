#include "bench/process_memory.h"

#include <fstream>
#include <string>

namespace tamrel::bench {

int64_t StatusKb(std::string_view field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.size() > field.size() && line.compare(0, field.size(), field) == 0 && line[field.size()] == ':') {
      return std::stoll(line.substr(field.size() + 1));  // "VmRSS:     1234 kB"
    }
  }
  return -1;
}

}  // namespace tamrel::bench
