// Texts that both the main window and tamrel-cli show, kept in one place.
#pragma once

namespace tamrel {

inline constexpr const char* kErrorCaption = "Error!";
inline constexpr const char* kResourcesError =
    "Resources are not available!\nPlease try it again later or send an email to us";
inline constexpr const char* kBuildFinished = "Finished MO!";

}  // namespace tamrel
