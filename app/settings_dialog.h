// SettingsDialog: the System Settings dialog. It reads the settings file of the runtime folder
// when it is created, shows
// three of the four options as check boxes, and on Save writes them onto the file as it is then
// (the start-up option stays as the file has it); Cancel writes nothing. The main window learns the new options only
// by reading the file again after Save.
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "learning/sys_settings.h"

namespace Ui {
class SettingsDialog;
}

namespace tamrel {

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(std::filesystem::path root, QWidget* parent = nullptr);
  ~SettingsDialog() override;

 private:
  // Shows the three options of the record in the check boxes.
  void loadControls();
  // Takes the three options from the check boxes into the record.
  void storeControls();
  void onSave();

  std::filesystem::path root_;
  SysSettings settings_;
  std::unique_ptr<Ui::SettingsDialog> ui_;
};

}  // namespace tamrel
