// MainWindow: the main window. It owns the two loaded corpora, the settings, the search history
// and the controls; its Search command runs the core's search of the typed text's readings and shows the result page in
// the web view. File > Export Results... saves the sentences of the page shown as Anki notes,
// Speak (the web view's context menu, F8) reads the selected text or the sentence under the
// pointer aloud, and Search this (the context menu) searches the selected text, as a
// tamrel:search link of the page searches its own. The window can grow: the web view and
// the word list take the extra room. Everything that would wait for a person goes through the Desktop it is given,
// which must outlive the window.
#pragma once

#include <QAction>
#include <QDialog>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "corpus/corpus_index.h"
#include "dictionary/dictionary.h"
#include "explorer/search_history.h"
#include "explorer/search_result.h"
#include "explorer/sentence_export.h"
#include "explorer/sentence_text.h"
#include "explorer/typed_readings.h"
#include "lexicon/simplify.h"
#include "search/sentence_levels.h"
#include "settings/learner_options.h"
#include "settings/sys_settings.h"

class QSplitter;

namespace Ui {
class MainWindow;
}

namespace tamrel {

class Desktop;
class ImportRun;
class TranslationMarks;
class WordPanel;

class MainWindow : public QDialog {
  Q_OBJECT

 public:
  explicit MainWindow(Desktop& desktop, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Takes the desktop's current directory as the working directory, loads both corpora (the
  // error message for each that fails), selects EN, reads the settings, greets the user, and
  // shows the welcome page. Call once, before the window is shown.
  void initialize();

  const SearchHistory& history() const { return history_; }
  const SysSettings& settings() const { return settings_; }
  const LearnerOptions& options() const { return options_; }
  const std::filesystem::path& workingDirectory() const { return workingDirectory_; }
  // The import of File > Import Sentences... under way, or null.
  ImportRun* importRun() const { return importRun_.get(); }

 protected:
  // Escape empties the search box. A dialog's Escape would reject it, which here would end the
  // program and lose the history: the window closes only through its close button or File > Exit.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Buttons, number box and language buttons.
  void onSearch();
  // More sentences: the next 20 of each corpus for the text of the last search, in the same order.
  void onMoreSentences();
  void onBuild();
  void onNumberChanged();
  void onWordSelected();
  void onHistoryLast();
  void onHistoryNext();
  void onHistoryPrevious();
  void onHistoryFirst();
  // Menu and context-menu commands.
  void onAbout();
  void onWordTest();
  void onExit();
  void onSystemSettings();
  void onContents();
  void onReportBug();
  void onImport();
  void onImportFinished();
  void onExport();
  // Speak: the context menu readies its entry for the text at the point it opens at; F8 finds the
  // text under the pointer and speaks it.
  void setUpSpeech();
  void onContextMenuOpening(const QPoint& point);
  void onSpeak();
  void onSpeakKey();
  // Enables the Speak entry for `text` when a voice for its language is installed; otherwise
  // disables it and says in the tooltip what to install. True when enabled.
  bool prepareSpeech(const QString& text);
  // Search this: the context menu offers the selected text, which the entry searches; and the
  // page's search links.
  void setUpPageSearch();
  void onPageMenuOpening();
  void onSearchThis();
  // Puts `text`, its white space made single spaces, into the input box and searches it.
  void searchFor(const QString& text);

  // The word panel beside the page (app/main_window_words.cpp): set up in the web view's place,
  // which it returns for the form to grow; filled after each search and for a hovered word.
  QWidget& setUpWordPanel();
  void onWordPanelToggled(bool shown);
  void showWordPanelFor(const SearchCommandResult& result);
  void onWordHovered(const QString& word);
  // Starts opening the dictionary and building its indexes on another thread, once: called when
  // the panel or the word list's senses are shown, so that the first look-up finds them built.
  void prepareDictionary();
  // True when the dictionary prepareDictionary opens is at hand (starting it when it has not
  // been); false while it is still being opened, or (the panel says why) when it cannot be read.
  // Never waits: what asked meanwhile is shown by onDictionaryReady.
  bool openDictionary();
  // On the window's thread once the worker is done: shows the panel of the search that came
  // before the dictionary was ready, and the word list's senses.
  void onDictionaryReady();
  // Options > Senses in Word List: stores the choice in data/options.json and shows the list again.
  void onWordListSensesChosen(bool shown);
  // Writes the word list's lines: "position:word", and the word's sense when the option is on.
  void showWordListLines();
  // Besides the word (Qt::UserRole), each line of the word list keeps its position and language.
  static constexpr int kWordPositionRole = Qt::UserRole + 1;
  static constexpr int kWordLanguageRole = Qt::UserRole + 2;

  // The level choice beside the search box (app/main_window_levels.cpp): set from the options,
  // remembered in them when changed; the sources a search uses, with the sentence levels of each
  // corpus made or read at the first search at a level.
  void setUpLevelChoice();
  void onLevelChosen(int index);
  SearchSources searchSources();

  void loadCorpus(CorpusIndex& corpus, std::u16string_view tag);
  void greet();
  void lookUpWords();
  void recall(const std::u16string& entry);
  void showResourcesError();
  void navigate(const QString& address);
  void readOptions();
  // The sentences File > Export Results... saves: those of the result page shown, or none.
  void setExportRows(std::vector<ExportRow> rows);

  CorpusIndex bilingual_;
  CorpusIndex monolingual_;
  Simplifier simplifier_;                   // traditional characters typed are searched in simplified ones
  std::filesystem::path root_;              // the runtime folder: corpora, settings, pages
  std::filesystem::path workingDirectory_;  // where the help page is taken from; any length
  std::filesystem::path resultPagePath_;
  std::filesystem::path welcomePagePath_;
  std::filesystem::path fallbackPagePath_;
  SysSettings settings_;
  LearnerOptions options_;
  SentenceLevels bilingualLevels_;
  SentenceLevels monolingualLevels_;
  bool levelsMade_ = false;  // for the corpora loaded now
  SearchHistory history_;
  std::vector<ExportRow> exportRows_;
  QString exportQuery_;
  std::u16string pagedText_;  // the text of the last search, which More sentences pages through
  size_t pageOffset_ = 0;     // the sentences of each corpus before the page shown
  QAction speakAction_;       // Speak in the web view's context menu
  QAction speakKey_;          // F8
  QString speechText_;        // what Speak reads, and in which language
  SpokenLanguage speechLanguage_ = SpokenLanguage::kNone;
  QAction searchThisAction_;  // Search this in the web view's context menu
  QString searchThisText_;    // the selection it searches
  Desktop& desktop_;
  std::unique_ptr<Ui::MainWindow> ui_;
  QAction aboutSeparator_;
  QAction aboutAction_;  // the About entry of the window's context menu
  std::unique_ptr<ImportRun> importRun_;
  Dictionary dictionary_;
  Status dictionaryStatus_ = Status::Ok();
  std::future<void> dictionaryReady_;  // the worker's; after dictionary_, so it is joined first
  bool dictionaryTried_ = false;
  bool dictionaryOpen_ = false;
  // Searched or hovered while the dictionary was opening: shown once it is ready.
  std::optional<SearchCommandResult> panelPending_;
  QString hoverPending_;
  // The search whose translation summary the panel adds once its page is shown.
  std::optional<SearchCommandResult> summaryPending_;
  QSplitter* pageSplitter_ = nullptr;
  WordPanel* wordPanel_ = nullptr;
  QAction wordPanelAction_;                       // Options > Word Panel
  QAction wordListSensesAction_;                  // Options > Senses in Word List
  TranslationMarks* translationMarks_ = nullptr;  // the aligned words marked over the page
};

}  // namespace tamrel
