#include "app/desktop.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <system_error>
#include <thread>

#include "app/speech.h"

namespace tamrel {

void QtDesktop::Tell(QWidget* parent, const QString& caption, const QString& text, Icon icon) {
  const QMessageBox::Icon shown = icon == Icon::kError         ? QMessageBox::Critical
                                  : icon == Icon::kInformation ? QMessageBox::Information
                                                               : QMessageBox::NoIcon;
  QMessageBox box(shown, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

bool QtDesktop::Ask(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

int QtDesktop::RunModal(QDialog& dialog) { return dialog.exec(); }

QtDesktop::QtDesktop() : speech_(std::make_unique<QtSpeechEngine>()) {}
QtDesktop::~QtDesktop() = default;

QString QtDesktop::ChooseSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                  const QString& filter) {
  return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

SpeechEngine& QtDesktop::Speech() { return *speech_; }

QStringList QtDesktop::ChooseFiles(QWidget* parent, const QString& caption, const QString& filter) {
  return QFileDialog::getOpenFileNames(parent, caption, QString(), filter);
}

void QtDesktop::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

uint32_t QtDesktop::TickCount() {
  const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

std::filesystem::path QtDesktop::CurrentDirectory() {
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return {};
  return current;
}

}  // namespace tamrel
