#include "ui/about_dlg.h"

#include "ui/window_frame.h"
#include "ui_about_dlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::CAboutDlg>()) {
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  connect(ui_->okButton, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;
