// MainWindow: the main window. It owns the two loaded corpora, the settings, the search history
// and the controls; its Search command runs the core's search road and shows the result page in
// the web view. Everything that would wait for a person goes through the Desktop it is given,
// which must outlive the window.
#pragma once

#include <QAction>
#include <QDialog>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "corpus/corpus_index.h"
#include "explorer/search_history.h"
#include "learning/sys_settings.h"

class Desktop;

namespace Ui {
class MainWindow;
}

class MainWindow : public QDialog {
  Q_OBJECT

 public:
  explicit MainWindow(Desktop& desktop, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Loads both corpora (the error message for each that fails), selects EN, reads the settings,
  // greets the user, and shows the welcome page. Call once, before the window is shown.
  bool OnInitDialog();

  const tamrel::SearchHistory& history() const { return history_; }
  const tamrel::SysSettings& settings() const { return settings_; }
  const std::filesystem::path& workingDirectory() const { return workingDirectory_; }

 private:
  // Commands, in the order of the window's command table.
  void OnAbout();
  void OnSearch();
  void OnBuild();
  void OnNumberChanged();
  void OnWordSelected();
  void OnHistoryLast();
  void OnHistoryNext();
  void OnHistoryPrevious();
  void OnHistoryFirst();
  void OnWordTest();
  void OnExit();
  void OnSystemSettings();
  void OnContents();
  void OnReportBug();

  void LoadCorpus(tamrel::CorpusIndex& corpus, std::u16string_view tag);
  void Greet();
  void LookUpWords();
  void Recall(const std::u16string& entry);
  void ShowResourcesError();
  void Navigate(const QString& address);

  tamrel::CorpusIndex bilingual_;
  tamrel::CorpusIndex monolingual_;
  std::filesystem::path workingDirectory_;  // any length
  std::filesystem::path resultPagePath_;
  std::filesystem::path welcomePagePath_;
  std::filesystem::path fallbackPagePath_;
  tamrel::SysSettings settings_;
  tamrel::SearchHistory history_;
  Desktop& desktop_;
  std::unique_ptr<Ui::MainWindow> ui_;
  QAction aboutSeparator_;
  QAction aboutAction_;  // the About entry of the window's context menu
};
