#include "runtime/runtime_folder.h"

#include <cstdlib>
#include <string_view>

namespace tamrel {

namespace {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

std::string_view Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string_view() : std::string_view(value);
}

}  // namespace

std::filesystem::path ShippedFolder(const std::filesystem::path& executable) {
  if (executable.empty()) return {};
  const std::filesystem::path bin = executable.parent_path();
  if (bin.filename() != "bin") return {};
  std::filesystem::path shipped = bin.parent_path() / "share" / "tamrel";
  return IsFolder(shipped / "BDict") ? shipped : std::filesystem::path();
}

std::filesystem::path ExecutablePath() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable;
}

Status ChooseRuntimeFolder(const std::filesystem::path& given, const std::filesystem::path& current,
                           const std::filesystem::path& executable, RuntimeFolder& chosen) {
  chosen = RuntimeFolder();
  const std::filesystem::path shipped = ShippedFolder(executable);
  std::filesystem::path named = given;
  if (named.empty()) named = std::filesystem::path(Environment("TAMREL_ROOT"));
  if (!named.empty()) {
    chosen.folder = named;
    chosen.source = RuntimeFolder::Source::kGiven;
    chosen.shipped = shipped;
    return Status::Ok();
  }
  chosen.folder = current;
  if (IsFolder(current / "BDict") || shipped.empty()) return Status::Ok();

  const std::filesystem::path dataHome(Environment("XDG_DATA_HOME"));
  if (dataHome.is_absolute()) {
    chosen.folder = dataHome / "tamrel";
  } else if (const std::filesystem::path home(Environment("HOME")); home.is_absolute()) {
    chosen.folder = home / ".local" / "share" / "tamrel";
  } else {
    return Status::NotFound("", "neither XDG_DATA_HOME nor HOME names the folder for Tamrel's files");
  }
  chosen.source = RuntimeFolder::Source::kUserData;
  chosen.shipped = shipped;
  return Status::Ok();
}

}  // namespace tamrel
