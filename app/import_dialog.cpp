#include "app/import_dialog.h"

#include <QCoreApplication>
#include <QLocale>

#include "app/desktop.h"
#include "app/translation.h"
#include "app/window_frame.h"
#include "corpus/corpus_files.h"
#include "resources/window_texts.h"
#include "ui_import_dialog.h"

namespace tamrel {

QString ReplaceCorpusQuestion(const QString& corpus, size_t groups) {
  // Grouped by thousands ("8,067"), as English is read.
  const QString what =
      groups == 0 ? WindowText(kReplaceSentences)
      : groups == 1
          ? WindowText(kReplaceOneGroup)
          : WindowText(kReplaceGroups)
                .arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(static_cast<qulonglong>(groups)));
  return WindowText(kReplaceQuestion).arg(corpus, what);
}

ImportDialog::ImportDialog(Desktop& desktop, CorpusGroupCounts groups, QWidget* parent)
    : QDialog(parent), desktop_(desktop), groups_(groups), ui_(std::make_unique<Ui::ImportDialog>()) {
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  connect(ui_->addFilesButton, &QPushButton::clicked, this, &ImportDialog::onAddFiles);
  connect(ui_->removeFilesButton, &QPushButton::clicked, this, &ImportDialog::onRemoveFiles);
  connect(ui_->importButton, &QPushButton::clicked, this, &ImportDialog::onImport);
  connect(ui_->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(ui_->fileList, &QListWidget::itemSelectionChanged, this, &ImportDialog::updateButtons);
  updateButtons();
}

ImportDialog::~ImportDialog() = default;

std::vector<std::filesystem::path> ImportDialog::files() const {
  std::vector<std::filesystem::path> paths;
  for (int i = 0; i < ui_->fileList->count(); ++i) {
    paths.emplace_back(ui_->fileList->item(i)->text().toStdString());
  }
  return paths;
}

std::u16string ImportDialog::tag() const {
  return std::u16string(ui_->monolingualRadio->isChecked() ? kTagMonolingual : kTagBilingual);
}

bool ImportDialog::append() const { return ui_->appendRadio->isChecked(); }

void ImportDialog::onAddFiles() {
  const QStringList chosen =
      desktop_.ChooseFiles(this, WindowText(kImportChooseCaption), WindowText(kImportFileFilter));
  for (const QString& file : chosen) {
    if (ui_->fileList->findItems(file, Qt::MatchExactly).isEmpty()) ui_->fileList->addItem(file);
  }
  updateButtons();
}

void ImportDialog::onImport() {
  if (!append()) {
    const bool bilingual = tag() == kTagBilingual;
    const QString question =
        ReplaceCorpusQuestion(bilingual ? QCoreApplication::translate("ImportDialog", "bilingual")
                                        : QCoreApplication::translate("ImportDialog", "monolingual"),
                              bilingual ? groups_.bilingual : groups_.monolingual);
    if (!desktop_.Ask(this, WindowText(kReplaceCaption), question)) return;
  }
  accept();
}

void ImportDialog::onRemoveFiles() {
  qDeleteAll(ui_->fileList->selectedItems());
  updateButtons();
}

void ImportDialog::updateButtons() {
  ui_->importButton->setEnabled(ui_->fileList->count() > 0);
  ui_->removeFilesButton->setEnabled(!ui_->fileList->selectedItems().isEmpty());
}

}  // namespace tamrel
