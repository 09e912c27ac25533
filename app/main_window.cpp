#include "app/main_window.h"

#include <QKeyEvent>
#include <QPushButton>
#include <chrono>

#include "app/desktop.h"
#include "app/growing_form.h"
#include "app/import_run.h"
#include "app/qt_text.h"
#include "app/result_view.h"
#include "app/search_trace.h"
#include "app/translation.h"
#include "app/translation_marks.h"
#include "app/window_frame.h"
#include "corpus/corpus_files.h"
#include "corpus/index_build.h"
#include "explorer/level_table.h"
#include "explorer/messages.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "explorer/word_lookup.h"
#include "resources/product_info.h"
#include "resources/window_texts.h"
#include "settings/settings.h"
#include "ui_main_window.h"

namespace tamrel {

MainWindow::MainWindow(Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      ui_(std::make_unique<Ui::MainWindow>()),
      aboutAction_(WindowText(kAboutMenuEntry)) {
  RegisterWindowResources();
  ui_->setupUi(this);
  SetGrowingWindowFrame(*this);
  // The controls were drawn for the least size; the web view and the word list take any extra
  // room, the input box widens, and the controls at the right edge move with it.
  ui_->windowLayout->setStretchFactor(ui_->clientArea, 1);  // the menu bar keeps its height
  auto* form = new GrowingForm(*ui_->clientArea);
  form->follow(setUpWordPanel(), GrowingForm::kGrowWide | GrowingForm::kGrowTall);
  form->follow(*ui_->wordList, GrowingForm::kGrowTall);
  form->follow(*ui_->inputEdit, GrowingForm::kGrowWide);
  for (QWidget* right : std::initializer_list<QWidget*>{ui_->searchButton, ui_->wordTestButton, ui_->historyLabel,
                                                        ui_->historyFirstButton, ui_->historyPreviousButton,
                                                        ui_->historyNextButton, ui_->historyLastButton}) {
    form->follow(*right, GrowingForm::kMoveRight);
  }
  // The title-bar menu belongs to the window manager here, so the About entry that the window
  // adds to it goes into the window's context menu instead.
  aboutSeparator_.setSeparator(true);
  addAction(&aboutSeparator_);
  addAction(&aboutAction_);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  connect(&aboutAction_, &QAction::triggered, this, &MainWindow::onAbout);
  connect(ui_->searchButton, &QPushButton::clicked, this, &MainWindow::onSearch);
  connect(ui_->moreButton, &QPushButton::clicked, this, &MainWindow::onMoreSentences);
  connect(ui_->buildButton, &QPushButton::clicked, this, &MainWindow::onBuild);
  connect(ui_->numberEdit, &QLineEdit::textChanged, this, &MainWindow::onNumberChanged);
  connect(ui_->wordList, &QListWidget::itemSelectionChanged, this, &MainWindow::onWordSelected);
  connect(ui_->historyLastButton, &QPushButton::clicked, this, &MainWindow::onHistoryLast);
  connect(ui_->historyNextButton, &QPushButton::clicked, this, &MainWindow::onHistoryNext);
  connect(ui_->historyPreviousButton, &QPushButton::clicked, this, &MainWindow::onHistoryPrevious);
  connect(ui_->historyFirstButton, &QPushButton::clicked, this, &MainWindow::onHistoryFirst);
  connect(ui_->enRadio, &QRadioButton::clicked, this, &MainWindow::onNumberChanged);
  connect(ui_->cnRadio, &QRadioButton::clicked, this, &MainWindow::onNumberChanged);
  connect(ui_->wordTestButton, &QPushButton::clicked, this, &MainWindow::onWordTest);
  connect(ui_->actionExit, &QAction::triggered, this, &MainWindow::onExit);
  connect(ui_->actionHanziPinyin, &QAction::triggered, this, &MainWindow::onWordTest);
  connect(ui_->actionSystemSettings, &QAction::triggered, this, &MainWindow::onSystemSettings);
  connect(ui_->actionAbout, &QAction::triggered, this, &MainWindow::onAbout);
  connect(ui_->actionContents, &QAction::triggered, this, &MainWindow::onContents);
  connect(ui_->actionReportBug, &QAction::triggered, this, &MainWindow::onReportBug);
  connect(ui_->actionImport, &QAction::triggered, this, &MainWindow::onImport);
  connect(ui_->actionExport, &QAction::triggered, this, &MainWindow::onExport);
  setUpSpeech();
  setUpPageSearch();
  if (SearchTrace::enabled()) {
    SearchTrace& trace = SearchTrace::instance();
    connect(ui_->webView, &QWebEngineView::loadStarted, &trace, [&trace] { trace.mark("load started"); });
    connect(ui_->webView, &QWebEngineView::loadFinished, &trace, [&trace] { trace.mark("load finished"); });
    connect(ui_->webView, &ResultView::pageShown, &trace, [&trace] { trace.mark("page shown, title fitted"); });
  }
}

MainWindow::~MainWindow() = default;

void MainWindow::initialize() {
  // Empty when it cannot be read; the page paths are then relative ones.
  workingDirectory_ = desktop_.CurrentDirectory();
  root_ = workingDirectory_;
  resultPagePath_ = ResultPageFileName(root_);
  welcomePagePath_ = LocalisedPage(root_, "welcome");
  fallbackPagePath_ = root_ / "data" / "cantfind.html";

  loadCorpus(bilingual_, kTagBilingual);
  loadCorpus(monolingual_, kTagMonolingual);
  // Without OpenCC's configuration, traditional characters are searched as they are typed.
  (void)simplifier_.Open();
  ui_->enRadio->setChecked(true);
  readOptions();
  // Built while the person reads the first page, the dictionary answers the first search at once.
  if (wordPanelAction_.isChecked() || options_.wordListSenses) prepareDictionary();
  setUpLevelChoice();
  greet();
  navigate(PathToQString(welcomePagePath_));  // in place of the product site's start-up page
  ui_->searchButton->setFocus();
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Enter in the search box (or any control but another button) reaches the window, whose
  // default button, Search, runs the search.
  const auto* button = qobject_cast<QPushButton*>(focusWidget());
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (button == nullptr || button == ui_->searchButton)) {
    SearchTrace::instance().begin(ui_->inputEdit->text());
  }
  if (event->key() != Qt::Key_Escape) {
    QDialog::keyPressEvent(event);
    return;
  }
  ui_->inputEdit->clear();
  ui_->inputEdit->setFocus();
  event->accept();
}

void MainWindow::loadCorpus(CorpusIndex& corpus, std::u16string_view tag) {
  corpus = CorpusIndex(root_, tag);
  levelsMade_ = false;
  if (!LoadCorpus(corpus).ok()) showResourcesError();
}

void MainWindow::greet() {
  const QString site = QString::fromUtf8(kProductSite);
  if (!settings_.greetAtStart) {
    navigate(site + kStartUpPageQuiet);
    desktop_.Sleep(std::chrono::milliseconds(1000));
    return;
  }
  navigate(site + kStartUpPage);
  const QString greeting = WindowText(kStartUpBefore) + site + WindowText(kStartUpAfter);
  if (!desktop_.Ask(this, WindowText(kStartUpCaption), greeting)) {
    settings_.greetAtStart = false;
    // Only this option changes in the file; the others stay as the file has them now. Not
    // reported: the greeting comes back at the next start.
    (void)UpdateConfig(root_, [](SysSettings& current) { current.greetAtStart = false; });
  }
}

void MainWindow::readOptions() {
  // A file that cannot be read leaves its defaults.
  const RuntimeSettings loaded = LoadSettings(root_);
  settings_ = loaded.system;
  options_ = loaded.learner;
  wordListSensesAction_.setChecked(options_.wordListSenses);
}

void MainWindow::showResourcesError() {
  desktop_.Tell(this, WindowText(kErrorCaption), WindowText(kResourcesError), Desktop::Icon::kError);
}

void MainWindow::navigate(const QString& address) { ui_->webView->navigate(address); }

void MainWindow::onSearch() {
  const std::u16string text = ToU16(ui_->inputEdit->text());
  if (text.empty()) return;
  PageOptions page;
  page.toneColours = options_.toneColours;
  const SearchCommandResult result = RunSearchCommand(text, searchSources(), settings_, resultPagePath_, page);
  SearchTrace& trace = SearchTrace::instance();
  trace.markAt("search done", result.searchedAt);
  trace.mark("page written");
  pagedText_ = text;
  pageOffset_ = 0;
  ui_->moreButton->setEnabled(result.found() && result.mayHaveMore());
  if (!result.found()) {
    // The page that says so, written beside the result page; the result page and the history
    // stay as they were.
    if (result.page != PageResult::kNotAsked) {
      navigate(PathToQString(result.page == PageResult::kWritten ? result.pageFile : fallbackPagePath_));
      setExportRows({});
    }
    return;
  }
  navigate(PathToQString(result.page == PageResult::kWritten ? resultPagePath_ : fallbackPagePath_));
  trace.mark("navigation requested");
  setExportRows(ExportRows(result.query, result.bilingual, result.monolingual));
  exportQuery_ = ToQString(result.query);
  history_.Add(result.query);
  translationMarks_->show(result, settings_.showPinyin);
  showWordPanelFor(result);
  trace.mark("panel updated");
}

void MainWindow::onMoreSentences() {
  PageOptions page;
  page.toneColours = options_.toneColours;
  const size_t offset = pageOffset_ + kMaxResults;
  const SearchCommandResult result =
      RunSearchCommand(pagedText_, searchSources(), settings_, resultPagePath_, page, offset);
  ui_->moreButton->setEnabled(result.found() && result.mayHaveMore());
  if (!result.found()) return;  // the last page was the last: nothing more to show
  pageOffset_ = offset;
  navigate(PathToQString(result.page == PageResult::kWritten ? resultPagePath_ : fallbackPagePath_));
  translationMarks_->show(result, settings_.showPinyin);
  setExportRows(ExportRows(result.query, result.bilingual, result.monolingual));
}

void MainWindow::onBuild() {
  // A build that took effect but could not finish is finished by the next load.
  if (!BuildAllCorpora(root_).tookEffect()) {
    showResourcesError();
    return;
  }
  // Else made at the first search at a level.
  (void)MakeLevelFiles(root_, {kTagBilingual, kTagMonolingual});
  desktop_.Tell(this, WindowText(kBuildFinishedCaption), WindowText(kBuildFinished), Desktop::Icon::kInformation);
}

void MainWindow::onNumberChanged() { lookUpWords(); }

void MainWindow::lookUpWords() {
  const Language language = ui_->enRadio->isChecked() ? Language::kEnglish : Language::kChinese;
  const auto words = LookUpWords(bilingual_, ToU16(ui_->numberEdit->text()), language);
  if (!words) return;  // an empty box keeps the list
  ui_->wordList->clear();
  for (const NumberedWord& w : *words) {
    // Each line keeps the word itself to search when it is chosen, and what its text is made of.
    auto* item = new QListWidgetItem;
    item->setData(Qt::UserRole, ToQString(w.word));
    item->setData(kWordPositionRole, static_cast<qlonglong>(w.position));
    item->setData(kWordLanguageRole, static_cast<int>(language));
    ui_->wordList->addItem(item);
  }
  showWordListLines();
}

void MainWindow::onWordSelected() {
  const QList<QListWidgetItem*> selected = ui_->wordList->selectedItems();
  if (selected.isEmpty()) return;  // the list was emptied
  ui_->inputEdit->setText(selected.front()->data(Qt::UserRole).toString());
  onSearch();
}

void MainWindow::recall(const std::u16string& entry) {
  if (!entry.empty()) ui_->inputEdit->setText(ToQString(entry));
}

void MainWindow::onHistoryLast() { recall(history_.Last()); }
void MainWindow::onHistoryNext() { recall(history_.Next()); }
void MainWindow::onHistoryPrevious() { recall(history_.Previous()); }
void MainWindow::onHistoryFirst() { recall(history_.First()); }

}  // namespace tamrel
