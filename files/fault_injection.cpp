#include "files/fault_injection.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace tamrel {

namespace {

struct Fault {
  FileOperation operation;
  std::filesystem::path path;
  int error;
  int times;
  int skip;
};

std::atomic<bool> armed{false};
std::mutex mutex;
std::vector<Fault> faults;

}  // namespace

void InjectFileFault(FileOperation operation, const std::filesystem::path& path, int error, int times, int skip) {
  const std::lock_guard<std::mutex> lock(mutex);
  faults.push_back({operation, path.lexically_normal(), error, times, skip});
  armed.store(true);
}

void ClearFileFaults() {
  const std::lock_guard<std::mutex> lock(mutex);
  faults.clear();
  armed.store(false);
}

int InjectedFileFault(FileOperation operation, const std::filesystem::path& path) {
  if (!armed.load(std::memory_order_relaxed)) return 0;
  const std::lock_guard<std::mutex> lock(mutex);
  const std::filesystem::path normal = path.lexically_normal();
  for (Fault& f : faults) {
    if (f.operation != operation || f.path != normal || f.times == 0) continue;
    if (f.skip > 0) {
      --f.skip;
      continue;
    }
    --f.times;
    return f.error;
  }
  return 0;
}

}  // namespace tamrel
