#include "app/desktop.h"

#include <QDialog>
#include <QMessageBox>
#include <thread>

#include "learning/word_test_engine.h"

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

void QtDesktop::Sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

uint32_t QtDesktop::TickCount() { return tamrel::SteadyTickCount(); }
