// Memory figures of the calling process, read from /proc/self/status (Linux).
#pragma once

#include <cstdint>
#include <string_view>

namespace tamrel::bench {

// The value in kB of a status field such as "VmRSS" (resident now) or "VmHWM" (resident peak);
// -1 when the field cannot be read.
int64_t StatusKb(std::string_view field);

}  // namespace tamrel::bench
