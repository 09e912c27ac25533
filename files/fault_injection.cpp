#include "files/fault_injection.h"

#include <atomic>
#include <limits>
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

// Never destroyed: a command's last file operations and the report of what failed may run while
// static objects are being destroyed at exit.
struct Seam {
  std::mutex mutex;
  std::vector<Fault> faults;
  int64_t counted = 0;
  int64_t failAt = 0;  // 0: not counting
  int failError = 0;
  std::string failed;
};

std::atomic<bool> armed{false};

Seam& TheSeam() {
  static Seam* seam = new Seam;
  return *seam;
}

}  // namespace

const char* FileOperationName(FileOperation operation) {
  switch (operation) {
    case FileOperation::kOpen:
      return "open";
    case FileOperation::kWrite:
      return "write";
    case FileOperation::kSync:
      return "sync";
    case FileOperation::kRename:
      return "rename";
    case FileOperation::kRemove:
      return "remove";
    case FileOperation::kMkdir:
      return "mkdir";
  }
  return "?";
}

void InjectFileFault(FileOperation operation, const std::filesystem::path& path, int error, int times, int skip) {
  Seam& seam = TheSeam();
  const std::lock_guard<std::mutex> lock(seam.mutex);
  seam.faults.push_back({operation, path.lexically_normal(), error, times, skip});
  armed.store(true);
}

void InjectNthFileFault(int64_t n, int error) {
  Seam& seam = TheSeam();
  const std::lock_guard<std::mutex> lock(seam.mutex);
  seam.counted = 0;
  seam.failAt = n < 1 ? std::numeric_limits<int64_t>::max() : n;
  seam.failError = error;
  seam.failed.clear();
  armed.store(true);
}

int64_t CountedFileOperations() {
  Seam& seam = TheSeam();
  const std::lock_guard<std::mutex> lock(seam.mutex);
  return seam.counted;
}

std::string FailedFileOperation() {
  Seam& seam = TheSeam();
  const std::lock_guard<std::mutex> lock(seam.mutex);
  return seam.failed;
}

void ClearFileFaults() {
  Seam& seam = TheSeam();
  const std::lock_guard<std::mutex> lock(seam.mutex);
  seam.faults.clear();
  seam.failAt = 0;
  armed.store(false);
}

int InjectedFileFault(FileOperation operation, const std::filesystem::path& path) {
  if (!armed.load(std::memory_order_relaxed)) return 0;
  Seam& seam = TheSeam();
  const std::lock_guard<std::mutex> lock(seam.mutex);
  if (seam.failAt > 0 && ++seam.counted == seam.failAt) {
    seam.failed = std::string(FileOperationName(operation)) + " " + path.string();
    return seam.failError;
  }
  const std::filesystem::path normal = path.lexically_normal();
  for (Fault& f : seam.faults) {
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
