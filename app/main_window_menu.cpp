// The main window's menu commands and the About entry of its context menu.
#include <QDialog>

#include "app/about_dialog.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/settings_dialog.h"
#include "app/translation.h"
#include "app/word_test_dialog.h"
#include "resources/product_info.h"
#include "resources/window_texts.h"

namespace tamrel {

void MainWindow::onAbout() {
  AboutDialog dialog(this);
  desktop_.RunModal(dialog);
}

void MainWindow::onWordTest() {
  WordTestDialog dialog(bilingual_, desktop_, this);
  desktop_.RunModal(dialog);
}

void MainWindow::onExit() { accept(); }

void MainWindow::onSystemSettings() {
  SettingsDialog dialog(desktop_, root_, this);
  if (desktop_.RunModal(dialog) == QDialog::Accepted) readOptions();
}

void MainWindow::onContents() {
  // Only the help page follows a change of the current directory.
  std::filesystem::path current = desktop_.CurrentDirectory();
  if (!current.empty()) workingDirectory_ = std::move(current);
  navigate(PathToQString(HelpPage(workingDirectory_)));
  setExportRows({});  // the page shown holds no results now
}

void MainWindow::onReportBug() {
  const QString text = WindowText(kReportBugBefore) + QString::fromUtf8(kSupportEmail) + WindowText(kReportBugAfter);
  desktop_.Tell(this, WindowText(kReportBugCaption), text, Desktop::Icon::kInformation);
}

}  // namespace tamrel
