// The window's language. Tamrel's texts go through Qt's translation system: the forms' texts
// (uic), the texts of resources/window_texts.h and explorer/messages.h (WindowText), and the
// windows' own (tr). Translations/tamrel_zh_CN.ts holds the Simplified Chinese ones, built into the
// program; English is the texts themselves, so under English nothing is translated.
#pragma once

#include <QString>
#include <filesystem>

#include "settings/learner_options.h"

namespace tamrel {

// The language `choice` stands for: itself, or for kSystem the system locale's (Chinese in any
// script or region: Simplified Chinese; anything else: English).
WindowLanguage ShownLanguage(WindowLanguage choice);

// Installs the translations of `choice` (ShownLanguage) on the application, Tamrel's and Qt's own
// (its dialogs' buttons, from Qt's translations when installed), replacing those installed before.
// Windows made afterwards show the language.
void ApplyWindowLanguage(WindowLanguage choice);

// The language installed last by ApplyWindowLanguage; English before any.
WindowLanguage CurrentWindowLanguage();

// `text`, a text of resources/window_texts.h or explorer/messages.h, in the installed language.
QString WindowText(const char* text);

// The Help page of the runtime folder `root` in the installed language: data/Help.zh_CN.html under
// Chinese when it is there, else data/Help.html.
std::filesystem::path HelpPage(const std::filesystem::path& root);

}  // namespace tamrel
