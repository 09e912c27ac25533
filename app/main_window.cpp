#include "app/main_window.h"

#include <chrono>
#include <system_error>

#include "app/desktop.h"
#include "app/qt_text.h"
#include "app/window_frame.h"
#include "corpus/corpus_files.h"
#include "corpus/index_build.h"
#include "explorer/messages.h"
#include "explorer/result_page.h"
#include "explorer/search_command.h"
#include "explorer/word_lookup.h"
#include "resources/product_info.h"
#include "resources/window_texts.h"
#include "ui_main_window.h"

MainWindow::MainWindow(Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      ui_(std::make_unique<Ui::MainWindow>()),
      aboutAction_(tamrel::kAboutMenuEntry) {
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this, /*minimiseBox=*/true);
  // The title-bar menu belongs to the window manager here, so the About entry that the window
  // adds to it goes into the window's context menu instead.
  aboutSeparator_.setSeparator(true);
  addAction(&aboutSeparator_);
  addAction(&aboutAction_);
  setContextMenuPolicy(Qt::ActionsContextMenu);

  connect(&aboutAction_, &QAction::triggered, this, &MainWindow::OnAbout);
  connect(ui_->searchButton, &QPushButton::clicked, this, &MainWindow::OnSearch);
  connect(ui_->buildButton, &QPushButton::clicked, this, &MainWindow::OnBuild);
  connect(ui_->numberEdit, &QLineEdit::textChanged, this, &MainWindow::OnNumberChanged);
  connect(ui_->wordList, &QListWidget::itemSelectionChanged, this, &MainWindow::OnWordSelected);
  connect(ui_->historyLastButton, &QPushButton::clicked, this, &MainWindow::OnHistoryLast);
  connect(ui_->historyNextButton, &QPushButton::clicked, this, &MainWindow::OnHistoryNext);
  connect(ui_->historyPreviousButton, &QPushButton::clicked, this, &MainWindow::OnHistoryPrevious);
  connect(ui_->historyFirstButton, &QPushButton::clicked, this, &MainWindow::OnHistoryFirst);
  connect(ui_->enRadio, &QRadioButton::clicked, this, &MainWindow::OnNumberChanged);
  connect(ui_->cnRadio, &QRadioButton::clicked, this, &MainWindow::OnNumberChanged);
  connect(ui_->wordTestButton, &QPushButton::clicked, this, &MainWindow::OnWordTest);
  connect(ui_->actionExit, &QAction::triggered, this, &MainWindow::OnExit);
  connect(ui_->actionHanziPinyin, &QAction::triggered, this, &MainWindow::OnWordTest);
  connect(ui_->actionSystemSettings, &QAction::triggered, this, &MainWindow::OnSystemSettings);
  connect(ui_->actionAbout, &QAction::triggered, this, &MainWindow::OnAbout);
  connect(ui_->actionContents, &QAction::triggered, this, &MainWindow::OnContents);
  connect(ui_->actionReportBug, &QAction::triggered, this, &MainWindow::OnReportBug);
}

MainWindow::~MainWindow() = default;

bool MainWindow::OnInitDialog() {
  std::error_code error;
  workingDirectory_ = std::filesystem::current_path(error);
  resultPagePath_ = workingDirectory_ / tamrel::kResultPageFile;
  welcomePagePath_ = workingDirectory_ / "data" / "welcome.html";
  fallbackPagePath_ = workingDirectory_ / "data" / "cantfind.html";

  LoadCorpus(bilingual_, tamrel::kTagBilingual);
  LoadCorpus(monolingual_, tamrel::kTagMonolingual);
  ui_->enRadio->setChecked(true);
  tamrel::ReadConfig(settings_);  // without a readable file the defaults stay
  Greet();
  Navigate(PathToQString(welcomePagePath_));  // replaces the page of the product site
  ui_->searchButton->setFocus();
  return true;
}

void MainWindow::LoadCorpus(tamrel::CorpusIndex& corpus, std::u16string_view tag) {
  if (tamrel::LoadCorpus(corpus, tag) < 0) ShowResourcesError();
}

void MainWindow::Greet() {
  const QString site = QString::fromUtf8(tamrel::kProductSite);
  if (!settings_.FLAGSTARTUP) {
    Navigate(site + tamrel::kStartUpPageQuiet);
    desktop_.Sleep(std::chrono::milliseconds(1000));
    return;
  }
  Navigate(site + tamrel::kStartUpPage);
  const QString greeting = QString::fromUtf8(tamrel::kStartUpBefore) + site + tamrel::kStartUpAfter;
  if (!desktop_.Ask(this, tamrel::kStartUpCaption, greeting)) {
    settings_.FLAGSTARTUP = false;
    tamrel::WriteConfig(settings_);
  }
}

void MainWindow::ShowResourcesError() {
  desktop_.Tell(this, tamrel::kErrorCaption, tamrel::kResourcesError, Desktop::Icon::kError);
}

void MainWindow::Navigate(const QString& address) { ui_->webView->Navigate(address); }

void MainWindow::OnSearch() {
  const std::u16string text = ToU16(ui_->inputEdit->text());
  if (text.empty()) return;
  const tamrel::SearchCommandResult result =
      tamrel::RunSearchCommand(text, bilingual_, monolingual_, settings_, resultPagePath_);
  if (!result.found()) return;  // the page on display stays, the history does not change
  Navigate(PathToQString(result.pageStatus >= 0 ? resultPagePath_ : fallbackPagePath_));
  history_.Add(result.query);
}

void MainWindow::OnBuild() {
  std::u16string failedTag;
  if (tamrel::BuildAllCorpora(failedTag) < 0) {
    ShowResourcesError();
    return;
  }
  desktop_.Tell(this, tamrel::kBuildFinishedCaption, tamrel::kBuildFinished, Desktop::Icon::kInformation);
}

void MainWindow::OnNumberChanged() { LookUpWords(); }

void MainWindow::LookUpWords() {
  const auto lines = tamrel::LookUpWords(bilingual_, ToU16(ui_->numberEdit->text()), ui_->enRadio->isChecked());
  if (!lines) return;  // an empty box keeps the list
  ui_->wordList->clear();
  for (const std::u16string& line : *lines) ui_->wordList->addItem(ToQString(line));
}

void MainWindow::OnWordSelected() {
  const QList<QListWidgetItem*> selected = ui_->wordList->selectedItems();
  if (selected.isEmpty()) return;  // the list was emptied
  const auto word = tamrel::WordOfLine(ToU16(selected.front()->text()));
  if (!word) return;
  ui_->inputEdit->setText(ToQString(*word));
  OnSearch();
}

void MainWindow::Recall(const std::u16string& entry) {
  if (!entry.empty()) ui_->inputEdit->setText(ToQString(entry));
}

void MainWindow::OnHistoryLast() { Recall(history_.Last()); }
void MainWindow::OnHistoryNext() { Recall(history_.Next()); }
void MainWindow::OnHistoryPrevious() { Recall(history_.Previous()); }
void MainWindow::OnHistoryFirst() { Recall(history_.First()); }
