// OpenRegularFile: the one way the program opens a file it reads (and the text files it writes).
// A FIFO, a device, a folder or a socket in place of a file is refused with a Status that names
// the file and says it is not a regular file, and the open never blocks: a FIFO opened the usual
// way waits for a writer (or, to write, for a reader) forever. The file is opened first and its
// type checked on the descriptor, so nothing can put another file in its place in between.
#pragma once

#include <filesystem>

#include "files/status.h"

namespace tamrel {

// Opens `path` with the open(2) `flags` (O_RDONLY, or O_WRONLY | O_CREAT | O_TRUNC to write),
// adding O_NONBLOCK for the open and O_CLOEXEC; a new file gets mode 0666 less the umask, as
// with fopen. The
// descriptor returned refers to a regular file and blocks as usual; O_TRUNC empties the file only
// once it is known to be a regular one. On failure returns -1 and sets `status`: NotFound "cannot
// be opened" when the file is missing, IoError "cannot be created: REASON" when a file opened with
// O_CREAT cannot be, IoError "cannot be opened: REASON" when the open fails otherwise, IoError "is a FIFO, not a
// regular file" (a folder, a device, a socket) when the file is not a regular one. `status` is Ok on success.
int OpenRegularFile(const std::filesystem::path& path, int flags, Status& status);

}  // namespace tamrel
