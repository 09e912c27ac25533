// SettingsDialog: the System Settings dialog. It reads the settings file of the runtime folder
// and the learners' options file when it is created, shows three of the four settings and the tone
// colours option as check boxes, and on Save writes each onto its file as it is then (the start-up
// option stays as the file has it; data/config.data keeps its four-line layout, the tone
// colours go to data/options.json); Cancel writes nothing. A file that cannot be written is named,
// with the reason, through the Desktop, and the dialog stays open with the values as the person
// set them. The main window learns the new options only by reading the files again after Save.
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "files/status.h"
#include "settings/learner_options.h"
#include "settings/sys_settings.h"

namespace Ui {
class SettingsDialog;
}

namespace tamrel {

class Desktop;

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  SettingsDialog(Desktop& desktop, std::filesystem::path root, QWidget* parent = nullptr);
  ~SettingsDialog() override;

 private:
  // Shows the options in the check boxes.
  void loadControls();
  // Takes the options from the check boxes.
  void storeControls();
  void onSave();
  // Says that the settings were not saved, naming the file and the reason `status` gives.
  void showSaveFailure(const Status& status);

  Desktop& desktop_;
  std::filesystem::path root_;
  SysSettings settings_;
  LearnerOptions options_;
  std::unique_ptr<Ui::SettingsDialog> ui_;
};

}  // namespace tamrel
