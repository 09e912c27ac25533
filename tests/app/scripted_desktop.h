// ScriptedDesktop: a Desktop for window tests and the screenshot tour. Messages are recorded,
// questions answered from a script (Yes when it runs out), modal runs call a test's handler (Cancel
// without one), file choices give the scripted list or file, speech is recorded, sleeps are added up, the tick count is
// fixed, and the current directory is the scripted one (the process's own until one is set).
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>
#include <vector>

#include "app/desktop.h"
#include "app/speech.h"

namespace tamrel::test {

// A SpeechEngine that records what it reads aloud, with the voices and the answer to Say that a
// test gives it.
class RecordingSpeech : public SpeechEngine {
 public:
  struct Utterance {
    QString text;
    QLocale locale;
  };
  bool CanPlay() override { return start != SpeechStart::kNoSoundDevice; }
  bool HasVoice(SpokenLanguage language) override {
    return language == SpokenLanguage::kMandarin ? mandarin : language == SpokenLanguage::kEnglish && english;
  }
  SpeechStart Say(const QString& text, const QLocale& locale) override {
    if (start == SpeechStart::kSpeaking) said.push_back({text, locale});
    return start;
  }

  bool mandarin = true;
  bool english = true;
  SpeechStart start = SpeechStart::kSpeaking;  // what every Say answers
  std::vector<Utterance> said;                 // what was read aloud
};

class ScriptedDesktop : public Desktop {
 public:
  struct Message {
    QString caption;
    QString text;
    Icon icon = Icon::kNone;
    bool question = false;
  };

  void Tell(QWidget*, const QString& caption, const QString& text, Icon icon) override {
    messages.push_back({caption, text, icon, false});
  }
  bool Ask(QWidget*, const QString& caption, const QString& text) override {
    messages.push_back({caption, text, Icon::kNone, true});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  int RunModal(QDialog& dialog) override {
    ++modalRuns;
    if (!onModal) return QDialog::Rejected;
    return onModal(dialog);
  }
  QStringList ChooseFiles(QWidget*, const QString&, const QString&) override {
    ++fileChoices;
    return chosenFiles;
  }
  QString ChooseSaveFile(QWidget*, const QString&, const QString& suggested, const QString&) override {
    suggestedSaveFiles.push_back(suggested);
    return saveFile;
  }
  SpeechEngine& Speech() override { return speech; }
  void Sleep(std::chrono::milliseconds duration) override { slept += duration; }
  uint32_t TickCount() override { return tick; }
  std::filesystem::path CurrentDirectory() override {
    if (currentDirectory) return *currentDirectory;
    std::error_code error;
    return std::filesystem::current_path(error);
  }

  std::vector<Message> messages;
  std::deque<bool> answers;
  std::function<int(QDialog&)> onModal;
  int modalRuns = 0;
  QStringList chosenFiles;  // what every choice of files picks
  int fileChoices = 0;
  QString saveFile;  // what every choice of a file to save to picks
  QStringList suggestedSaveFiles;
  RecordingSpeech speech;
  std::chrono::milliseconds slept{0};
  uint32_t tick = 1;
  // What CurrentDirectory returns; an empty path stands for a directory that cannot be read.
  std::optional<std::filesystem::path> currentDirectory;
};

}  // namespace tamrel::test
