// Keeps a user's runtime folder in step with the installed files it was made from: the first start
// copies the shipped corpus sources (BDict/) and pages (data/) in; a later installation that ships
// a different corpus replaces the user's copy of it, but never a corpus the user changed (an
// import rewrites its sentence file and dictionary), nor settings, options or history.
//
// What was copied is recorded in data/shipped-files (the installed stamp's digest and the size and
// digest of each copied corpus file), so that a later start tells the shipped copy from the user's
// own files. The installed folder names its corpus in corpus.stamp; any change of that file
// counts as a new corpus.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "files/status.h"
#include "runtime/runtime_folder.h"

namespace tamrel {

struct ShippedUpdate {
  bool changed = false;                  // files were copied in
  std::vector<std::string> keptCorpora;  // tags of corpora left as the user changed them
};

// The record of the copied files in the runtime folder `root`.
std::filesystem::path ShippedRecordFileName(const std::filesystem::path& root);

// Copies the installed files into `root` when the record says they are not there yet or are of an
// older installation: the corpus files of every corpus whose sentence file and dictionary are
// missing or still as they were copied, and every page of `shipped`/data. Makes `root` and its
// folders as needed, under a lock (data/shipped-files.lock) that keeps two starts of one user
// apart. Every file is written staged, so a crash leaves each whole; the next start finishes.
// Fails naming the file that could not be read or written; `update` then tells what was done.
Status UpdateFromShipped(const std::filesystem::path& root, const std::filesystem::path& shipped,
                         ShippedUpdate* update = nullptr);

// Prepares the chosen folder: UpdateFromShipped when it has installed files to follow — always
// for the user's own folder, and for a given folder that holds no corpus yet or was made from the
// installation before; a folder of the user's own making that holds BDict/ is left as it is.
Status PrepareRuntimeFolder(const RuntimeFolder& chosen, ShippedUpdate* update = nullptr);

}  // namespace tamrel
