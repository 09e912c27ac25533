#include "cli/runtime_setup.h"

#include <iostream>

#include "cli/commands.h"
#include "corpus/index_build.h"
#include "corpus/index_presence.h"
#include "explorer/level_table.h"
#include "runtime/runtime_folder.h"
#include "runtime/shipped_files.h"

namespace tamrel::cli {

int EnterRuntimeFolder(const std::string& root, bool buildIndexes) {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  RuntimeFolder chosen;
  if (const Status status = ChooseRuntimeFolder(root, current, ExecutablePath(), chosen); !status.ok()) {
    std::cerr << "tamrel-cli: " << status.ToString() << '\n';
    return 2;
  }
  ShippedUpdate update;
  // A folder sync that failed after the files were in place leaves them usable.
  if (const Status status = PrepareRuntimeFolder(chosen, &update); !status.tookEffect()) {
    std::cerr << "tamrel-cli: cannot prepare the runtime folder " << chosen.folder.string() << ": " << status.ToString()
              << '\n';
    return 2;
  }
  for (const std::string& tag : update.keptCorpora) {
    if (update.changed) {
      std::cerr << "tamrel-cli: the " << tag << " corpus of " << chosen.folder.string()
                << " was changed here, so the newly installed one does not replace it\n";
    }
  }
  std::filesystem::current_path(chosen.folder, error);
  if (error) {
    std::cerr << "tamrel-cli: cannot work in " << chosen.folder.string() << ": " << error.message() << '\n';
    return 2;
  }
  if (buildIndexes && !chosen.shipped.empty() && AnyIndexMissing("")) {
    // Said on stderr only: the command's own answer follows on stdout.
    RemoveLeftovers();
    std::cerr << "tamrel-cli: building the indexes of " << chosen.folder.string() << '\n';
    if (const Status built = BuildAllCorpora(""); !built.ok()) {
      std::cerr << "tamrel-cli: cannot build the indexes: " << built.ToString() << '\n';
      return 2;
    }
    // Not reported: a search at a level makes a level file that is missing.
    (void)MakeLevelFiles("", {kTagBilingual, kTagMonolingual});
  }
  return 0;
}

}  // namespace tamrel::cli
