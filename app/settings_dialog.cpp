#include "app/settings_dialog.h"

#include "app/window_frame.h"
#include "ui_settings_dialog.h"

namespace tamrel {

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::SettingsDialog>()) {
  ReadConfig(settings_);
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  connect(ui_->saveButton, &QPushButton::clicked, this, &SettingsDialog::onSave);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  loadControls();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::loadControls() {
  ui_->monolingualCheck->setChecked(settings_.FLAGMONO);
  ui_->bilingualCheck->setChecked(settings_.FLAGBI);
  ui_->pronunciationCheck->setChecked(settings_.FLAGPRON);
}

void SettingsDialog::storeControls() {
  settings_.FLAGMONO = ui_->monolingualCheck->checkState() != Qt::Unchecked;
  settings_.FLAGBI = ui_->bilingualCheck->checkState() != Qt::Unchecked;
  settings_.FLAGPRON = ui_->pronunciationCheck->checkState() != Qt::Unchecked;
}

void SettingsDialog::onSave() {
  storeControls();
  WriteConfig(settings_);  // a failure is not reported; the main window reads the old file back
  accept();
}

}  // namespace tamrel
