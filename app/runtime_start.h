// The window's runtime folder at start: chosen from --root, TAMREL_ROOT, the current folder or the
// user's own folder of an installation (runtime/runtime_folder.h), made or brought up to date from
// the installed files, and made the current directory; an index that is missing or older than its
// corpus is then built there, with a progress dialog.
#pragma once

#include <QStringList>

namespace tamrel {

// Enters the runtime folder that `arguments` (the application's, --root DIR or --root=DIR) and the
// environment choose. False after a message box that says why the folder cannot be used.
bool EnterRuntimeFolder(const QStringList& arguments);

}  // namespace tamrel
