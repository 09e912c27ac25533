#include "files/system_error.h"

#include <cerrno>
#include <cstring>

namespace tamrel {

std::string SystemErrorText(int error) {
  switch (error) {
    case ENOSPC:
      return "the disk is full";
    case EDQUOT:
      return "the disk quota is used up";
    case EROFS:
      return "the disk is read-only";
    default:
      return std::strerror(error);
  }
}

std::string WithSystemError(std::string_view what, int error) {
  std::string text(what);
  if (error != 0) text += ": " + SystemErrorText(error);
  return text;
}

}  // namespace tamrel
