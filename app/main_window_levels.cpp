// The level choice beside the search box: "All levels" (the corpus order of every search before)
// or HSK 1 ... 6, remembered in data/options.json, and the sentence levels a search at a level
// orders by.
#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

#include "app/desktop.h"
#include "app/main_window.h"
#include "app/translation.h"
#include "dictionary/dictionary.h"
#include "explorer/hsk_levels.h"
#include "explorer/level_table.h"
#include "resources/window_texts.h"
#include "ui_main_window.h"

namespace tamrel {

void MainWindow::setUpLevelChoice() {
  QComboBox* box = ui_->levelBox;
  box->clear();
  box->addItem(QCoreApplication::translate("MainWindow", "All levels"));
  for (int level = kMinLevel; level <= kMaxLevel; ++level)
    box->addItem(QCoreApplication::translate("MainWindow", "HSK %1").arg(level));
  box->setCurrentIndex(options_.hskLevel);
  connect(box, &QComboBox::currentIndexChanged, this, &MainWindow::onLevelChosen, Qt::UniqueConnection);
}

void MainWindow::onLevelChosen(int index) {
  if (index < 0 || index > kMaxLevel || index == options_.hskLevel) return;
  const Status status = UpdateLearnerOptions(root_, [index](LearnerOptions& options) { options.hskLevel = index; });
  if (!status.tookEffect()) {
    // As every option: a choice that could not be kept is not shown as made.
    const QSignalBlocker quiet(ui_->levelBox);
    ui_->levelBox->setCurrentIndex(options_.hskLevel);
    desktop_.Tell(this, WindowText(kSettingsFailedCaption),
                  WindowText(kOptionNotSaved).arg(QString::fromStdString(status.ToString())), Desktop::Icon::kError);
    return;
  }
  options_.hskLevel = index;
}

SearchSources MainWindow::searchSources() {
  SearchSources sources{bilingual_, monolingual_, simplifier_};
  if (options_.hskLevel == 0) return sources;
  if (!levelsMade_) {
    // Without the dictionary every Chinese word counts as not in HSK; a level file that cannot be
    // written is made again at the next start. Neither stops the search.
    HskLevels hsk;
    (void)ReadHskLevels(FindDictionary(root_), hsk);
    (void)LoadSentenceLevels(bilingual_, hsk, bilingualLevels_);
    (void)LoadSentenceLevels(monolingual_, hsk, monolingualLevels_);
    levelsMade_ = true;
  }
  sources.bilingualLevels = {&bilingualLevels_, options_.hskLevel};
  sources.monolingualLevels = {&monolingualLevels_, options_.hskLevel};
  return sources;
}

}  // namespace tamrel
