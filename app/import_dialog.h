// ImportDialog: File > Import Sentences... — the files to import (picked through the Desktop, so
// tests script the choice), the corpus they go into and whether they replace its sentences or
// are added to them. Import is enabled once a file is listed.
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class ImportDialog;
}

namespace tamrel {

class Desktop;

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ImportDialog(Desktop& desktop, QWidget* parent = nullptr);
  ~ImportDialog() override;

  std::vector<std::filesystem::path> files() const;
  std::u16string tag() const;  // "BI" or "MO"
  bool append() const;

 private:
  void onAddFiles();
  void onRemoveFiles();
  void updateButtons();

  Desktop& desktop_;
  std::unique_ptr<Ui::ImportDialog> ui_;
};

}  // namespace tamrel
