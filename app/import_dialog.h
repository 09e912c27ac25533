// ImportDialog: File > Import Sentences... — the files to import (picked through the Desktop, so
// tests script the choice), the corpus they go into and whether they are added to its sentences
// (the default) or replace them. Import is enabled once a file is listed; with Replace it first
// asks, naming how many sentence groups would go.
#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class ImportDialog;
}

namespace tamrel {

class Desktop;

// The sentence groups of the two corpora as loaded now.
struct CorpusGroupCounts {
  size_t bilingual = 0;
  size_t monolingual = 0;
};

// The question asked before `groups` sentence groups of the `corpus` ("bilingual" or
// "monolingual") corpus are replaced; 0 groups stands for a corpus that is empty or not loaded.
QString ReplaceCorpusQuestion(const QString& corpus, size_t groups);

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  ImportDialog(Desktop& desktop, CorpusGroupCounts groups, QWidget* parent = nullptr);
  ~ImportDialog() override;

  std::vector<std::filesystem::path> files() const;
  std::u16string tag() const;  // "BI" or "MO"
  bool append() const;

 private:
  void onAddFiles();
  void onRemoveFiles();
  // Import: accepts the dialog, after a Yes to the question when the corpus is to be replaced; a
  // No leaves the dialog open.
  void onImport();
  void updateButtons();

  Desktop& desktop_;
  CorpusGroupCounts groups_;
  std::unique_ptr<Ui::ImportDialog> ui_;
};

}  // namespace tamrel
