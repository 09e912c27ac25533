// Desktop: what the windows ask of the desktop that would block, wait or depend on the process —
// message boxes, modal runs of other dialogs, the choice of files to open, the pause at start-up,
// the millisecond tick count and the current directory. The program uses QtDesktop; the window tests put a scripted one
// in its place, so nothing waits for a person. The windows keep a reference: it must outlive them.
#pragma once

#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>

class QDialog;
class QWidget;

namespace tamrel {

class SpeechEngine;

class Desktop {
 public:
  enum class Icon { kNone, kInformation, kError };

  virtual ~Desktop() = default;

  // A message with an OK button.
  virtual void Tell(QWidget* parent, const QString& caption, const QString& text, Icon icon) = 0;
  // A question with Yes and No buttons and no icon; true for Yes.
  virtual bool Ask(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Runs `dialog` modally; returns its result (QDialog::Accepted or QDialog::Rejected).
  virtual int RunModal(QDialog& dialog) = 0;
  // Files the person picks to open (`filter` as QFileDialog takes it); empty when none is picked.
  virtual QStringList ChooseFiles(QWidget* parent, const QString& caption, const QString& filter) = 0;
  // The file the person picks to save to, starting at `suggested`; empty when none is picked.
  virtual QString ChooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter) = 0;
  // The voices that read sentences aloud.
  virtual SpeechEngine& Speech() = 0;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
  virtual uint32_t TickCount() = 0;
  // The process's current directory; an empty path when it cannot be read.
  virtual std::filesystem::path CurrentDirectory() = 0;
};

// The real desktop: QMessageBox, QDialog::exec, QFileDialog, a sleep of the calling thread, the steady clock,
// the process's current directory, Qt TextToSpeech.
class QtDesktop : public Desktop {
 public:
  QtDesktop();
  ~QtDesktop() override;
  void Tell(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
  bool Ask(QWidget* parent, const QString& caption, const QString& text) override;
  int RunModal(QDialog& dialog) override;
  QStringList ChooseFiles(QWidget* parent, const QString& caption, const QString& filter) override;
  QString ChooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filter) override;
  SpeechEngine& Speech() override;
  void Sleep(std::chrono::milliseconds duration) override;
  // Milliseconds since the steady clock's epoch, cut to 32 bits.
  uint32_t TickCount() override;
  std::filesystem::path CurrentDirectory() override;

 private:
  std::unique_ptr<SpeechEngine> speech_;
};

}  // namespace tamrel
