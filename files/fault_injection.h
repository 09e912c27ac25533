// A seam under the file machinery where tests make chosen operations fail, as a full disk, a
// failing device or a file system that refuses them would: a test arms a fault for one operation
// on one path, and the functions of files/ that do that operation fail with the chosen error
// number as if the system had returned it. Nothing is armed unless a test arms it; unarmed, each
// operation costs one atomic load.
#pragma once

#include <filesystem>

namespace tamrel {

enum class FileOperation {
  kRename,  // RenameFile and staged commits: the path is the target
  kSync,    // SyncFile and SyncFolder: the path is the file or folder synced
  kRemove,  // RemoveFile: the path is the file removed
};

// Makes `operation` on `path` fail with `error` (an errno value), `times` times in a row, after
// `skip` such operations have gone through. Several faults may be armed at once.
void InjectFileFault(FileOperation operation, const std::filesystem::path& path, int error, int times = 1,
                     int skip = 0);

// Disarms every fault.
void ClearFileFaults();

// For the file machinery: the error number that this `operation` on `path` fails with, or 0.
int InjectedFileFault(FileOperation operation, const std::filesystem::path& path);

}  // namespace tamrel
