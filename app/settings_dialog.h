// SettingsDialog: the System Settings dialog. It reads data/config.data when it is created, shows
// three of the four options as check boxes, and on Save writes the file (the start-up option
// passes through as read); Cancel writes nothing. The main window learns the new options only
// by reading the file again after Save.
#pragma once

#include <QDialog>
#include <memory>

#include "learning/sys_settings.h"

namespace Ui {
class SettingsDialog;
}

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(QWidget* parent = nullptr);
  ~SettingsDialog() override;

 private:
  // Moves the three options between the check boxes and the record (to the record when
  // `saveAndValidate`).
  void DoDataExchange(bool saveAndValidate);
  void OnSave();

  tamrel::SysSettings settings_;
  std::unique_ptr<Ui::SettingsDialog> ui_;
};
