// Texts that only the windows show: captions, the start-up greeting, the Report A Bug message,
// the menu entry of the About box, the texts of File > Import Sentences... and of a System Settings
// save that fails. The shared error texts are in explorer/messages.h.
#pragma once

// Marks a text for Qt Linguist: lupdate reads TAMREL_TEXT as QT_TRANSLATE_NOOP (see app/CMakeLists.txt),
// and the window translates the text where it shows it (app/translation.h). Here it is the text.
#ifndef TAMREL_TEXT
#define TAMREL_TEXT(context, text) text
#endif

namespace tamrel {

inline constexpr const char* kMainTitle = TAMREL_TEXT("WindowTexts", "[Quen] Chinese English Sentence Explorer");
inline constexpr const char* kAboutMenuEntry = TAMREL_TEXT("WindowTexts", "&About Tamrel...");
inline constexpr const char* kBuildFinishedCaption = TAMREL_TEXT("WindowTexts", "OK");

inline constexpr const char* kStartUpCaption = TAMREL_TEXT("WindowTexts", "Start Up!");
// The greeting is these parts around the product site: kStartUpBefore, site, kStartUpAfter.
inline constexpr const char* kStartUpBefore =
    TAMREL_TEXT("WindowTexts",
                "Thanks for choosing our software!\n\n"
                "This tool is for the persons who want to learn Chinese and English. However, learning a new "
                "language is a very hard task. From our view, the best way is to learn words/sentences by reading "
                "some examples that are used in normal life. \n\n"
                "To learn how to use this software, please visit ");
inline constexpr const char* kStartUpAfter =
    TAMREL_TEXT("WindowTexts", " \n\nWANT to see this message AGAIN, please choose YES, otherwise NO!!");

inline constexpr const char* kStartUpPage = "/brovik/connect.html";
inline constexpr const char* kStartUpPageQuiet = "/brovik/connect2.html";

inline constexpr const char* kReportBugCaption = TAMREL_TEXT("WindowTexts", "Report A Bug!");
// The message is kReportBugBefore, the support address, kReportBugAfter.
inline constexpr const char* kReportBugBefore =
    TAMREL_TEXT("WindowTexts", "If you found a bug, please report it to us (");
inline constexpr const char* kReportBugAfter =
    TAMREL_TEXT("WindowTexts", ").\n\nWe really appreciate your kind understanding. Thanks a lot.\n\n\t\t\tPellory");

// File > Import Sentences...: the file choice, the progress dialog and the messages at its end.
inline constexpr const char* kImportChooseCaption = TAMREL_TEXT("WindowTexts", "Import Sentences");
inline constexpr const char* kImportFileFilter =
    TAMREL_TEXT("WindowTexts", "Sentence files (*.tsv *.txt *.csv);;All files (*)");
inline constexpr const char* kImportProgressCaption = TAMREL_TEXT("WindowTexts", "Importing Sentences");
inline constexpr const char* kImportCancelButton = TAMREL_TEXT("WindowTexts", "Cancel");
inline constexpr const char* kImportDoneCaption = TAMREL_TEXT("WindowTexts", "Import Finished");
inline constexpr const char* kImportCancelledCaption = TAMREL_TEXT("WindowTexts", "Import Cancelled");
inline constexpr const char* kImportCancelled =
    TAMREL_TEXT("WindowTexts", "The import was cancelled. The corpus was not changed.");
inline constexpr const char* kImportFailedCaption = TAMREL_TEXT("WindowTexts", "Import Failed");
inline constexpr const char* kImportUnchanged = TAMREL_TEXT("WindowTexts", "The corpus was not changed.");
// After an import that has taken effect but whose last steps failed: %1 names the file and the
// reason.
inline constexpr const char* kImportUnfinished =
    TAMREL_TEXT("WindowTexts",
                "The import has taken effect, but putting its files in place could not be finished: %1. It will be "
                "finished the next time Tamrel opens the corpus.");
// The question before an import replaces a corpus: %1 is the corpus ("bilingual" or "monolingual"),
// %2 what goes (kReplaceGroups with the number of groups, kReplaceOneGroup, or kReplaceSentences
// for a corpus that is empty or could not be loaded).
inline constexpr const char* kReplaceCaption = TAMREL_TEXT("WindowTexts", "Replace Sentences?");
inline constexpr const char* kReplaceQuestion =
    TAMREL_TEXT("WindowTexts", "Replace the %1 corpus? %2 will be removed and replaced by the imported sentences.");
inline constexpr const char* kReplaceGroups = TAMREL_TEXT("WindowTexts", "Its %1 sentence groups");
inline constexpr const char* kReplaceOneGroup = TAMREL_TEXT("WindowTexts", "Its 1 sentence group");
inline constexpr const char* kReplaceSentences = TAMREL_TEXT("WindowTexts", "Its sentences");

// System Settings, when a settings file cannot be written: %1 names the file and the reason.
inline constexpr const char* kSettingsFailedCaption = TAMREL_TEXT("WindowTexts", "Settings Not Saved");
inline constexpr const char* kSettingsFailed = TAMREL_TEXT(
    "WindowTexts", "The settings could not be saved.\n%1\nThe dialog keeps your choices: try again, or Cancel.");
// Options > Senses in Word List could not store the choice; %1 says why.
inline constexpr const char* kOptionNotSaved = TAMREL_TEXT("WindowTexts", "The option could not be saved.\n%1");

inline constexpr const char* kEndTestCaption = TAMREL_TEXT("WindowTexts", "End?");
inline constexpr const char* kEndTestQuestion = TAMREL_TEXT("WindowTexts", "Do you want to end the test?");

// File > Export Results...: the file choice and the messages.
inline constexpr const char* kExportCaption = TAMREL_TEXT("WindowTexts", "Export Results");
inline constexpr const char* kExportFileFilter =
    TAMREL_TEXT("WindowTexts", "Anki notes, tab-separated (*.tsv *.txt);;All files (*)");
inline constexpr const char* kExportNothing =
    TAMREL_TEXT("WindowTexts", "There are no results to export. Search for a word first.");
inline constexpr const char* kExportFailedCaption = TAMREL_TEXT("WindowTexts", "Export Failed");
// The message after a file is saved: %1 the number of notes, %2 the file (kExportSavedOne: %1 the file).
inline constexpr const char* kExportSaved = TAMREL_TEXT("WindowTexts", "Saved %1 notes to %2");
inline constexpr const char* kExportSavedOne = TAMREL_TEXT("WindowTexts", "Saved 1 note to %1");

// Speak (the web view's context menu and F8), and the messages when nothing can be read aloud.
inline constexpr const char* kSpeakEntry = TAMREL_TEXT("WindowTexts", "Speak");
inline constexpr const char* kSpeakCaption = TAMREL_TEXT("WindowTexts", "Speak");
inline constexpr const char* kNoSoundDevice =
    TAMREL_TEXT("WindowTexts", "No sound device was found, so the text cannot be read aloud.");
inline constexpr const char* kNoSpeechService = TAMREL_TEXT(
    "WindowTexts", "The speech service (speech-dispatcher) could not be reached, so the text cannot be read aloud.");

// The entries of the result page's context menu besides Speak.
inline constexpr const char* kCopyEntry = TAMREL_TEXT("WindowTexts", "Copy");
inline constexpr const char* kSearchThisEntry = TAMREL_TEXT("WindowTexts", "Search this");

}  // namespace tamrel
