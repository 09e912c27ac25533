// The main window's menu commands and the About entry of its context menu.
#include <QDialog>
#include <system_error>

#include "learning/dlg_sys_set.h"
#include "learning/dlg_word_test.h"
#include "resources/product_info.h"
#include "resources/window_texts.h"
#include "ui/about_dlg.h"
#include "ui/desktop.h"
#include "ui/qt_text.h"
#include "ui/tamrel_dlg.h"

void CTamrelDlg::OnAbout() {
  CAboutDlg dialog(this);
  desktop_.RunModal(dialog);
}

void CTamrelDlg::OnWordTest() {
  DlgWordTest dialog(bilingual_, desktop_, this);
  desktop_.RunModal(dialog);
}

void CTamrelDlg::OnExit() { accept(); }

void CTamrelDlg::OnSystemSettings() {
  DlgSysSet dialog(this);
  if (desktop_.RunModal(dialog) == QDialog::Accepted) tamrel::ReadConfig(settings_);
}

void CTamrelDlg::OnContents() {
  // Only the help page follows a change of the current directory.
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  if (!error) workingDirectory_ = std::move(current);
  Navigate(PathToQString(workingDirectory_ / "data" / "Help.html"));
}

void CTamrelDlg::OnReportBug() {
  const QString text = QString::fromUtf8(tamrel::kReportBugBefore) + QString::fromUtf8(tamrel::kSupportEmail) +
                       QString::fromUtf8(tamrel::kReportBugAfter);
  desktop_.Tell(this, tamrel::kReportBugCaption, text, Desktop::Icon::kInformation);
}
