// The main window's menu commands and the About entry of its context menu.
#include <QDialog>
#include <system_error>

#include "app/about_dialog.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/settings_dialog.h"
#include "app/word_test_dialog.h"
#include "resources/product_info.h"
#include "resources/window_texts.h"

void MainWindow::OnAbout() {
  AboutDialog dialog(this);
  desktop_.RunModal(dialog);
}

void MainWindow::OnWordTest() {
  WordTestDialog dialog(bilingual_, desktop_, this);
  desktop_.RunModal(dialog);
}

void MainWindow::OnExit() { accept(); }

void MainWindow::OnSystemSettings() {
  SettingsDialog dialog(this);
  if (desktop_.RunModal(dialog) == QDialog::Accepted) tamrel::ReadConfig(settings_);
}

void MainWindow::OnContents() {
  // Only the help page follows a change of the current directory.
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  if (!error) workingDirectory_ = std::move(current);
  Navigate(PathToQString(workingDirectory_ / "data" / "Help.html"));
}

void MainWindow::OnReportBug() {
  const QString text = QString::fromUtf8(tamrel::kReportBugBefore) + QString::fromUtf8(tamrel::kSupportEmail) +
                       QString::fromUtf8(tamrel::kReportBugAfter);
  desktop_.Tell(this, tamrel::kReportBugCaption, text, Desktop::Icon::kInformation);
}
