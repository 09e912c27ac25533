// Which folder the programs work in (the runtime folder: BDict/, data/): one chosen by the user,
// the current directory when it holds a corpus (a source checkout), or, for a program run from an
// installation, a folder of the user's own in the XDG data folder, made from the installed corpus.
#pragma once

#include <filesystem>

#include "files/status.h"

namespace tamrel {

struct RuntimeFolder {
  enum class Source {
    kGiven,    // --root, or the TAMREL_ROOT environment variable
    kCurrent,  // the current directory: it holds BDict/, or nothing better was found
    kUserData  // $XDG_DATA_HOME/tamrel, or ~/.local/share/tamrel
  };
  std::filesystem::path folder;
  Source source = Source::kCurrent;
  // The installed files the folder is made from and kept up to date with (PREFIX/share/tamrel,
  // holding BDict/ and data/); empty when the program does not run from an installation.
  std::filesystem::path shipped;
};

// The folder of installed files for a program at `executable` (PREFIX/bin/NAME):
// PREFIX/share/tamrel when it holds BDict/, else empty.
std::filesystem::path ShippedFolder(const std::filesystem::path& executable);

// The running program's own path (/proc/self/exe); empty when it cannot be read.
std::filesystem::path ExecutablePath();

// Decides the runtime folder, first of: `given` when not empty; TAMREL_ROOT when set and not
// empty; `current` when it holds BDict/; when the program at `executable` runs from an
// installation, $XDG_DATA_HOME/tamrel (an absolute XDG_DATA_HOME only, as the XDG base directory
// rules ask) or $HOME/.local/share/tamrel; else `current`. A given folder, and the user's
// folder, get the installed files as `shipped` when there is an installation. Fails only when the
// user's folder is needed and neither XDG_DATA_HOME nor HOME says where it is. Makes nothing.
Status ChooseRuntimeFolder(const std::filesystem::path& given, const std::filesystem::path& current,
                           const std::filesystem::path& executable, RuntimeFolder& chosen);

}  // namespace tamrel
