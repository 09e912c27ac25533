// The words the program uses for a system error number in its messages: the system's own text,
// except for the errors a user can act on, which say plainly what is wrong ("the disk is full"
// rather than "No space left on device").
#pragma once

#include <string>
#include <string_view>

namespace tamrel {

// "the disk is full" for ENOSPC, "the disk quota is used up" for EDQUOT, "the disk is read-only"
// for EROFS, otherwise strerror's text.
std::string SystemErrorText(int error);

// "`what`: REASON" with SystemErrorText(error), or `what` alone when `error` is 0.
std::string WithSystemError(std::string_view what, int error);

}  // namespace tamrel
