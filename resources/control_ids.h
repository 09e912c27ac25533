// The numeric ids of the windows' controls and menu commands and the object names their widgets
// and actions carry in the .ui files, so that the tests can find a control by either.
#pragma once

#include <string_view>

namespace tamrel::controls {

struct Control {
  int id;
  std::string_view objectName;
};

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// Main window, tamrel::MainWindow (resources/main_window.ui).
inline constexpr Control kMainWindow[] = {
    {1, "searchButton"},
    {1001, "inputEdit"},
    {1002, "buildButton"},
    {1005, "webView"},
    {1006, "wordList"},
    {1007, "numberEdit"},
    {1008, "enRadio"},
    {1009, "cnRadio"},
    {1013, "historyLastButton"},
    {1014, "historyNextButton"},
    {1015, "historyPreviousButton"},
    {1016, "historyFirstButton"},
    {1045, "wordTestButton"},
};

// Menu commands of the main window.
inline constexpr Control kMainMenu[] = {
    {32775, "actionExit"},     {32778, "actionHanziPinyin"}, {32777, "actionSystemSettings"}, {32771, "actionAbout"},
    {32773, "actionContents"}, {32774, "actionReportBug"},   {32780, "actionImport"},         {32781, "actionExport"},
};

// System Settings, tamrel::SettingsDialog (resources/settings_dialog.ui).
inline constexpr Control kSysSet[] = {
    {kIdOk, "saveButton"},      {kIdCancel, "cancelButton"}, {1017, "pronunciationCheck"},
    {1018, "monolingualCheck"}, {1019, "bilingualCheck"},    {1060, "toneColoursCheck"},
};

// Word Test, tamrel::WordTestDialog (resources/word_test_dialog.ui).
inline constexpr Control kWordTest[] = {
    {kIdOk, "endButton"},   {1014, "nextButton"},         {1020, "beginnerRadio"},      {1021, "normalRadio"},
    {1022, "expertRadio"},  {1023, "hanziToPinyinRadio"}, {1024, "pinyinToHanziRadio"}, {1025, "questionLabel"},
    {1026, "choiceARadio"}, {1027, "choiceBRadio"},       {1028, "choiceCRadio"},       {1029, "choiceDRadio"},
    {1031, "checkButton"},  {1032, "rightLetterLabel"},   {1033, "yourScoreLabel"},     {1034, "verdictLabel"},
    {1035, "countsLabel"},  {1036, "countsCaption"},      {1037, "percentageLabel"},    {1038, "choiceALabel"},
    {1039, "choiceBLabel"}, {1040, "choiceDLabel"},       {1041, "choiceCLabel"},       {1042, "levelMeter"},
    {1043, "scoreMeter"},   {1044, "sentenceLabel"},
};

// Import Sentences, tamrel::ImportDialog (resources/import_dialog.ui).
inline constexpr Control kImport[] = {
    {kIdOk, "importButton"},    {kIdCancel, "cancelButton"}, {1050, "fileList"},
    {1051, "addFilesButton"},   {1052, "removeFilesButton"}, {1053, "bilingualRadio"},
    {1054, "monolingualRadio"}, {1055, "replaceRadio"},      {1056, "appendRadio"},
};

// About box, tamrel::AboutDialog (resources/about_dialog.ui).
inline constexpr Control kAbout[] = {
    {kIdOk, "okButton"},
};

// The object name of control `id` in `table`, empty when the table has no such id.
template <size_t N>
constexpr std::string_view ObjectName(const Control (&table)[N], int id) {
  for (const Control& control : table) {
    if (control.id == id) return control.objectName;
  }
  return {};
}

}  // namespace tamrel::controls
