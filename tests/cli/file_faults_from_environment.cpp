// Linked into tamrel-cli-faults, tamrel-cli with its file operations failing on purpose: before
// main, TAMREL_FAULT_AT=N arms the file fault seam so that the Nth file operation of the run fails
// with the error number TAMREL_FAULT_ERROR (ENOSPC when unset). At exit the count of operations
// and the one that failed go to the file TAMREL_FAULT_REPORT, written past the seam:
//   COUNT\nOPERATION PATH\n   (the second line empty when no operation failed)
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "files/fault_injection.h"

namespace {

void WriteReport() {
  const char* file = std::getenv("TAMREL_FAULT_REPORT");
  if (file == nullptr) return;
  const std::string report =
      std::to_string(tamrel::CountedFileOperations()) + "\n" + tamrel::FailedFileOperation() + "\n";
  const int fd = ::open(file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  if (::write(fd, report.data(), report.size()) < 0) std::abort();  // the test then sees no report
  ::close(fd);
}

const bool kArmed = [] {
  const char* at = std::getenv("TAMREL_FAULT_AT");
  if (at == nullptr) return false;
  const char* error = std::getenv("TAMREL_FAULT_ERROR");
  tamrel::InjectNthFileFault(std::atoll(at), error != nullptr ? std::atoi(error) : ENOSPC);
  std::atexit(WriteReport);
  return true;
}();

}  // namespace
