#include "learning/dlg_sys_set.h"

#include "ui/window_frame.h"
#include "ui_dlg_sys_set.h"

DlgSysSet::DlgSysSet(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::DlgSysSet>()) {
  tamrel::ReadConfig(settings_);
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  connect(ui_->saveButton, &QPushButton::clicked, this, &DlgSysSet::OnSave);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  DoDataExchange(false);
}

DlgSysSet::~DlgSysSet() = default;

void DlgSysSet::DoDataExchange(bool saveAndValidate) {
  if (saveAndValidate) {
    settings_.FLAGMONO = ui_->monolingualCheck->checkState() != Qt::Unchecked;
    settings_.FLAGBI = ui_->bilingualCheck->checkState() != Qt::Unchecked;
    settings_.FLAGPRON = ui_->pronunciationCheck->checkState() != Qt::Unchecked;
  } else {
    ui_->monolingualCheck->setChecked(settings_.FLAGMONO);
    ui_->bilingualCheck->setChecked(settings_.FLAGBI);
    ui_->pronunciationCheck->setChecked(settings_.FLAGPRON);
  }
}

void DlgSysSet::OnSave() {
  DoDataExchange(true);
  tamrel::WriteConfig(settings_);  // a failure is not reported; the main window reads the old file back
  accept();
}
