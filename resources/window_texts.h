// Texts that only the windows show: captions, the start-up greeting, the Report A Bug message,
// the menu entry of the About box, the texts of File > Import Sentences... and of a System Settings
// save that fails. The shared error texts are in explorer/messages.h.
#pragma once

namespace tamrel {

inline constexpr const char* kMainTitle = "[Quen] Chinese English Sentence Explorer";
inline constexpr const char* kAboutMenuEntry = "&About Tamrel...";
inline constexpr const char* kBuildFinishedCaption = "OK";

inline constexpr const char* kStartUpCaption = "Start Up!";
// The greeting is these parts around the product site: kStartUpBefore, site, kStartUpAfter.
inline constexpr const char* kStartUpBefore =
    "Thanks for choosing our software!\n\n"
    "This tool is for the persons who want to learn Chinese and English. However, learning a new "
    "language is a very hard task. From our view, the best way is to learn words/sentences by reading "
    "some examples that are used in normal life. \n\n"
    "To learn how to use this software, please visit ";
inline constexpr const char* kStartUpAfter = " \n\nWANT to see this message AGAIN, please choose YES, otherwise NO!!";

inline constexpr const char* kStartUpPage = "/brovik/connect.html";
inline constexpr const char* kStartUpPageQuiet = "/brovik/connect2.html";

inline constexpr const char* kReportBugCaption = "Report A Bug!";
// The message is kReportBugBefore, the support address, kReportBugAfter.
inline constexpr const char* kReportBugBefore = "If you found a bug, please report it to us (";
inline constexpr const char* kReportBugAfter =
    ").\n\nWe really appreciate your kind understanding. Thanks a lot.\n\n\t\t\tPellory";

// File > Import Sentences...: the file choice, the progress dialog and the messages at its end.
inline constexpr const char* kImportChooseCaption = "Import Sentences";
inline constexpr const char* kImportFileFilter = "Sentence files (*.tsv *.txt *.csv);;All files (*)";
inline constexpr const char* kImportProgressCaption = "Importing Sentences";
inline constexpr const char* kImportCancelButton = "Cancel";
inline constexpr const char* kImportDoneCaption = "Import Finished";
inline constexpr const char* kImportCancelledCaption = "Import Cancelled";
inline constexpr const char* kImportCancelled = "The import was cancelled. The corpus was not changed.";
inline constexpr const char* kImportFailedCaption = "Import Failed";
inline constexpr const char* kImportUnchanged = "The corpus was not changed.";
// After an import that has taken effect but whose last steps failed: %1 names the file and the
// reason.
inline constexpr const char* kImportUnfinished =
    "The import has taken effect, but putting its files in place could not be finished: %1. It will be "
    "finished the next time Tamrel opens the corpus.";
// The question before an import replaces a corpus: %1 is the corpus ("bilingual" or "monolingual"),
// %2 what goes (kReplaceGroups with the number of groups, kReplaceOneGroup, or kReplaceSentences
// for a corpus that is empty or could not be loaded).
inline constexpr const char* kReplaceCaption = "Replace Sentences?";
inline constexpr const char* kReplaceQuestion =
    "Replace the %1 corpus? %2 will be removed and replaced by the imported sentences.";
inline constexpr const char* kReplaceGroups = "Its %1 sentence groups";
inline constexpr const char* kReplaceOneGroup = "Its 1 sentence group";
inline constexpr const char* kReplaceSentences = "Its sentences";

// System Settings, when a settings file cannot be written: %1 names the file and the reason.
inline constexpr const char* kSettingsFailedCaption = "Settings Not Saved";
inline constexpr const char* kSettingsFailed =
    "The settings could not be saved.\n%1\nThe dialog keeps your choices: try again, or Cancel.";

inline constexpr const char* kEndTestCaption = "End?";
inline constexpr const char* kEndTestQuestion = "Do you want to end the test?";

// File > Export Results...: the file choice and the messages.
inline constexpr const char* kExportCaption = "Export Results";
inline constexpr const char* kExportFileFilter = "Anki notes, tab-separated (*.tsv *.txt);;All files (*)";
inline constexpr const char* kExportNothing = "There are no results to export. Search for a word first.";
inline constexpr const char* kExportFailedCaption = "Export Failed";
// The message after a file is saved: %1 the number of notes, %2 the file (kExportSavedOne: %1 the file).
inline constexpr const char* kExportSaved = "Saved %1 notes to %2";
inline constexpr const char* kExportSavedOne = "Saved 1 note to %1";

// Speak (the web view's context menu and F8), and the messages when nothing can be read aloud.
inline constexpr const char* kSpeakEntry = "Speak";
inline constexpr const char* kSpeakCaption = "Speak";
inline constexpr const char* kNoSoundDevice = "No sound device was found, so the text cannot be read aloud.";
inline constexpr const char* kNoSpeechService =
    "The speech service (speech-dispatcher) could not be reached, so the text cannot be read aloud.";

// The entries of the result page's context menu besides Speak.
inline constexpr const char* kCopyEntry = "Copy";
inline constexpr const char* kSearchThisEntry = "Search this";

}  // namespace tamrel
