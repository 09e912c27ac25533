#include "app/settings_dialog.h"

#include <algorithm>

#include "app/desktop.h"
#include "app/translation.h"
#include "app/window_frame.h"
#include "resources/window_texts.h"
#include "ui_settings_dialog.h"

namespace tamrel {

SettingsDialog::SettingsDialog(Desktop& desktop, std::filesystem::path root, QWidget* parent)
    : QDialog(parent), desktop_(desktop), root_(std::move(root)), ui_(std::make_unique<Ui::SettingsDialog>()) {
  (void)ReadConfig(settings_, root_);         // without a readable file the defaults stay
  (void)ReadLearnerOptions(options_, root_);  // likewise
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  connect(ui_->saveButton, &QPushButton::clicked, this, &SettingsDialog::onSave);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  loadControls();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::loadControls() {
  ui_->monolingualCheck->setChecked(settings_.searchMonolingual);
  ui_->bilingualCheck->setChecked(settings_.searchBilingual);
  ui_->pronunciationCheck->setChecked(settings_.showPinyin);
  ui_->toneColoursCheck->setChecked(options_.toneColours);
  ui_->languageCombo->setCurrentIndex(static_cast<int>(options_.language));  // in the order of WindowLanguage
}

void SettingsDialog::storeControls() {
  settings_.searchMonolingual = ui_->monolingualCheck->checkState() != Qt::Unchecked;
  settings_.searchBilingual = ui_->bilingualCheck->checkState() != Qt::Unchecked;
  settings_.showPinyin = ui_->pronunciationCheck->checkState() != Qt::Unchecked;
  options_.toneColours = ui_->toneColoursCheck->isChecked();
  options_.language = static_cast<WindowLanguage>(std::clamp(ui_->languageCombo->currentIndex(), 0, 2));
}

void SettingsDialog::onSave() {
  storeControls();
  // The three boxes go onto the file as it is now, under the settings lock, so that a change
  // another process made since the dialog opened (the start-up option) is kept.
  const Status status = UpdateConfig(root_, [this](SysSettings& current) {
    current.searchMonolingual = settings_.searchMonolingual;
    current.searchBilingual = settings_.searchBilingual;
    current.showPinyin = settings_.showPinyin;
  });
  // A save whose folder could not be synced has been made all the same.
  if (!status.tookEffect()) {
    showSaveFailure(status);
    return;
  }
  // The options file is written only when an option changed, so that a user who never touches it
  // gets no new file in data/.
  LearnerOptions stored;
  (void)ReadLearnerOptions(stored, root_);  // without a readable file the default is compared
  if (stored.toneColours != options_.toneColours || stored.language != options_.language) {
    const LearnerOptions chosen = options_;
    const Status options = UpdateLearnerOptions(root_, [chosen](LearnerOptions& current) {
      current.toneColours = chosen.toneColours;
      current.language = chosen.language;
    });
    if (!options.tookEffect()) {
      showSaveFailure(options);
      return;
    }
  }
  accept();
}

void SettingsDialog::showSaveFailure(const Status& status) {
  desktop_.Tell(this, WindowText(kSettingsFailedCaption),
                WindowText(kSettingsFailed).arg(QString::fromStdString(status.ToString())), Desktop::Icon::kError);
}

}  // namespace tamrel
