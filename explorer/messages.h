// Texts that both the main window and tamrel-cli show, kept in one place.
#pragma once

// Marks a text for Qt Linguist: lupdate reads TAMREL_TEXT as QT_TRANSLATE_NOOP (see app/CMakeLists.txt),
// and the window translates the text where it shows it (app/translation.h). Here it is the text.
#ifndef TAMREL_TEXT
#define TAMREL_TEXT(context, text) text
#endif

namespace tamrel {

inline constexpr const char* kErrorCaption = TAMREL_TEXT("WindowTexts", "Error!");
inline constexpr const char* kResourcesError =
    TAMREL_TEXT("WindowTexts", "Resources are not available!\nPlease try it again later or send an email to us");
inline constexpr const char* kBuildFinished = TAMREL_TEXT("WindowTexts", "Finished MO!");

}  // namespace tamrel
