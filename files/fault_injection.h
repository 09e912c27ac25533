// A seam under the file machinery where tests make chosen operations fail, as a full disk, a
// failing device or a file system that refuses them would. Every open, write, sync, rename,
// removal and folder creation of the program goes through the functions of files/, and each asks
// this seam first. A test either arms a fault for one operation on one path, or arms the Nth
// operation of any kind, so that a whole command can be run once for every N until it no longer
// meets a fault. Nothing is armed unless a test arms it; unarmed, each operation costs one atomic
// load.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tamrel {

enum class FileOperation {
  kOpen,    // opening a file to read or write it (or a folder, to sync it)
  kWrite,   // writing bytes to an open file, also when a buffer is flushed at its close
  kSync,    // SyncFile and SyncFolder: the path is the file or folder synced
  kRename,  // RenameFile and staged commits: the path is the target
  kRemove,  // RemoveFile and RemoveFolder: the path is the file or folder removed
  kMkdir,   // CreateFolders: the path is the folder created
};

// "open", "write", "sync", "rename", "remove" or "mkdir".
const char* FileOperationName(FileOperation operation);

// Makes `operation` on `path` fail with `error` (an errno value), `times` times in a row, after
// `skip` such operations have gone through. Several faults may be armed at once.
void InjectFileFault(FileOperation operation, const std::filesystem::path& path, int error, int times = 1,
                     int skip = 0);

// Counts every operation from now on and makes the `n`th (1: the next one) fail with `error`, once.
// A large `n` only counts.
void InjectNthFileFault(int64_t n, int error);

// The operations counted since InjectNthFileFault, and the one it made fail ("write
// data/index1.datBI.new"; empty while none has).
int64_t CountedFileOperations();
std::string FailedFileOperation();

// Disarms every fault and stops counting.
void ClearFileFaults();

// For the file machinery: the error number that this `operation` on `path` fails with, or 0.
int InjectedFileFault(FileOperation operation, const std::filesystem::path& path);

}  // namespace tamrel
