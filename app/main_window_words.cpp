// The word panel beside the result page (Options > Word Panel, hidden until shown; its place and
// width are remembered): after each search the dictionary entries of what was searched, and the
// entry of the Chinese word under the pointer with a short gloss as its tooltip. Double-clicking
// a Chinese word of the page, or a link of the panel, searches it. The dictionary is opened, and
// its indexes built, on another thread once the panel is shown, so the window starts as fast as
// without it and the first search does not build them. Options > Senses in Word List shows each
// word of the numbered word list with its first sense.
#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSettings>
#include <QSplitter>
#include <QTimer>
#include <QToolTip>
#include <chrono>
#include <cstdio>
#include <utility>

#include "app/desktop.h"
#include "app/growing_form.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/result_view.h"
#include "app/translation.h"
#include "app/translation_marks.h"
#include "app/translation_summary_view.h"
#include "app/word_hover.h"
#include "app/word_panel.h"
#include "explorer/word_lookup.h"
#include "explorer/word_panel_content.h"
#include "resources/window_texts.h"
#include "search/search_core.h"
#include "ui_main_window.h"

namespace tamrel {

namespace {

const QString kPanelShownKey = QStringLiteral("wordPanel/shown");
const QString kPanelSizesKey = QStringLiteral("wordPanel/sizes");
// How long after a page is shown its translation summary is made: time for the first paint.
constexpr int kSummaryDelayMs = 50;

// With TAMREL_TRACE_PANEL set, how long each panel update took goes to standard error.
void Trace(const char* what, const QElapsedTimer& timer) {
  static const bool enabled = qEnvironmentVariableIsSet("TAMREL_TRACE_PANEL");
  if (enabled) std::fprintf(stderr, "word panel: %s in %.2f ms\n", what, timer.nsecsElapsed() / 1e6);
}

// The panel's own words in the window's language (marked for lupdate under "WordPanel").
WordPanelLabels TranslatedLabels() {
  const auto text = [](const char* source) { return ToU16(QCoreApplication::translate("WordPanel", source)); };
  WordPanelLabels labels;
  labels.noEntry = text(QT_TRANSLATE_NOOP("WordPanel", "No dictionary entry for %1."));
  labels.hsk = text(QT_TRANSLATE_NOOP("WordPanel", "HSK %1"));
  labels.characterHsk = text(QT_TRANSLATE_NOOP("WordPanel", "character: HSK %1"));
  labels.sentences = text(QT_TRANSLATE_NOOP("WordPanel", "(%1 sentences)"));
  labels.classifiers = text(QT_TRANSLATE_NOOP("WordPanel", "CL:"));
  labels.veryCommon = text(QT_TRANSLATE_NOOP("WordPanel", "very common"));
  labels.common = text(QT_TRANSLATE_NOOP("WordPanel", "common"));
  labels.lessCommon = text(QT_TRANSLATE_NOOP("WordPanel", "less common"));
  labels.rare = text(QT_TRANSLATE_NOOP("WordPanel", "rare"));
  return labels;
}

}  // namespace

QWidget& MainWindow::setUpWordPanel() {
  // The page and the panel share the web view's place in the form.
  pageSplitter_ = new QSplitter(Qt::Horizontal, ui_->clientArea);
  pageSplitter_->setObjectName(QStringLiteral("pageSplitter"));
  pageSplitter_->setGeometry(ui_->webView->geometry());
  pageSplitter_->addWidget(ui_->webView);
  wordPanel_ = new WordPanel;
  pageSplitter_->addWidget(wordPanel_);
  pageSplitter_->setStretchFactor(0, 3);
  pageSplitter_->setStretchFactor(1, 1);
  pageSplitter_->setChildrenCollapsible(false);

  const QSettings remembered;
  wordPanelAction_.setParent(this);
  wordPanelAction_.setText(tr("&Word Panel"));
  wordPanelAction_.setObjectName(QStringLiteral("actionWordPanel"));
  wordPanelAction_.setCheckable(true);
  wordPanelAction_.setShortcut(Qt::Key_F9);
  ui_->menuOptions->addAction(&wordPanelAction_);
  wordListSensesAction_.setParent(this);
  wordListSensesAction_.setText(tr("Senses in Word &List"));
  wordListSensesAction_.setObjectName(QStringLiteral("actionWordListSenses"));
  wordListSensesAction_.setCheckable(true);
  ui_->menuOptions->addAction(&wordListSensesAction_);
  // Only the person's choice is stored, not the state readOptions sets.
  connect(&wordListSensesAction_, &QAction::triggered, this, &MainWindow::onWordListSensesChosen);
  const QList<QVariant> sizes = remembered.value(kPanelSizesKey).toList();
  if (sizes.size() == 2) pageSplitter_->setSizes({sizes[0].toInt(), sizes[1].toInt()});
  wordPanel_->setVisible(false);
  connect(&wordPanelAction_, &QAction::toggled, this, &MainWindow::onWordPanelToggled);
  wordPanelAction_.setChecked(remembered.value(kPanelShownKey, false).toBool());

  auto* hover = new WordHover(*ui_->webView->page());
  translationMarks_ = new TranslationMarks(*ui_->webView->page(), root_);
  auto* summary = new TranslationSummaryView(*wordPanel_, *translationMarks_);  // owned by the panel
  // The translations are summed up a little after the page is shown: aligning every sentence of
  // an English word takes tens of milliseconds on the window's thread, which the page's first
  // paint also needs (measured with --trace: first paint 66 ms at the median when the summary
  // came first or right after the load, 41 ms with it after the paint).
  connect(ui_->webView, &ResultView::pageShown, summary, [this, summary] {
    QTimer::singleShot(kSummaryDelayMs, summary, [this, summary] {
      if (summaryPending_ && wordPanel_->isVisible()) summary->show(*summaryPending_);
      summaryPending_.reset();
    });
  });
  connect(wordPanel_, &WordPanel::searchRequested, this, &MainWindow::searchFor);
  connect(hover, &WordHover::wordHovered, this, &MainWindow::onWordHovered);
  connect(hover, &WordHover::wordChosen, this, [this](const QString& word) {
    if (wordPanel_->isVisible()) searchFor(word);
  });
  connect(pageSplitter_, &QSplitter::splitterMoved, this, [this] {
    QSettings settings;
    settings.setValue(kPanelSizesKey, QList<QVariant>{pageSplitter_->sizes()[0], pageSplitter_->sizes()[1]});
  });
  return *pageSplitter_;
}

void MainWindow::onWordPanelToggled(bool shown) {
  wordPanel_->setVisible(shown);
  if (shown && !root_.empty()) prepareDictionary();
  QSettings settings;
  settings.setValue(kPanelShownKey, shown);
  // Shown for the first time: a third of the room, until the person drags it otherwise.
  if (shown && !settings.contains(kPanelSizesKey)) {
    const int width = pageSplitter_->width();
    pageSplitter_->setSizes({width - width / 3, width / 3});
  }
}

void MainWindow::prepareDictionary() {
  if (dictionaryReady_.valid() || dictionaryTried_) return;
  // Until the future is waited for, only the worker touches the dictionary.
  dictionaryReady_ = std::async(std::launch::async, [this, file = FindDictionary(root_)] {
    dictionaryStatus_ = dictionary_.Open(file);
    if (dictionaryStatus_.ok()) dictionary_.BuildIndexes();
    // Dropped by Qt when the window is gone first.
    QMetaObject::invokeMethod(
        this, [this] { onDictionaryReady(); }, Qt::QueuedConnection);
  });
}

bool MainWindow::openDictionary() {
  if (!dictionaryTried_) {
    prepareDictionary();
    if (dictionaryReady_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return false;
    dictionaryReady_.get();
    dictionaryTried_ = true;
    dictionaryOpen_ = dictionaryStatus_.ok();
    if (!dictionaryOpen_) wordPanel_->setPlainText(QString::fromStdString(dictionaryStatus_.ToString()));
  }
  return dictionaryOpen_;
}

void MainWindow::onDictionaryReady() {
  if (!openDictionary()) {
    panelPending_.reset();
    hoverPending_.clear();
    return;
  }
  if (panelPending_) {
    const SearchCommandResult pending = std::move(*panelPending_);
    panelPending_.reset();
    showWordPanelFor(pending);
    // Its page is shown by now, or about to be: the summary cannot wait for a signal already sent.
    if (summaryPending_) wordPanel_->findChild<TranslationSummaryView*>()->show(*std::exchange(summaryPending_, {}));
  }
  // The page tells a hovered word once: the one hovered meanwhile is shown now.
  if (!hoverPending_.isEmpty()) onWordHovered(std::exchange(hoverPending_, QString()));
  if (options_.wordListSenses) showWordListLines();
}

void MainWindow::showWordPanelFor(const SearchCommandResult& result) {
  if (!wordPanel_->isVisible()) return;
  if (!openDictionary()) {
    if (!dictionaryTried_) {
      panelPending_ = result;
      wordPanel_->setPlainText(tr("Opening the dictionary..."));
    }
    return;
  }
  QElapsedTimer timer;
  timer.start();
  const SentenceCount count = [this](std::u16string_view word) {
    return static_cast<uint32_t>(CountSentences(bilingual_, word) + CountSentences(monolingual_, word));
  };
  wordPanel_->setHtml(ToQString(WordPanelHtml(WordPanelContentFor(dictionary_, result, count), TranslatedLabels())));
  summaryPending_ = result;
  Trace("search entries", timer);
}

void MainWindow::onWordHovered(const QString& word) {
  if (!wordPanel_->isVisible()) return;
  if (!openDictionary()) {
    if (!dictionaryTried_) hoverPending_ = word;
    return;
  }
  QElapsedTimer timer;
  timer.start();
  const WordPanelContent content = WordPanelContentOfWord(dictionary_, ToU16(word));
  if (content.entries.empty()) return;
  wordPanel_->setHtml(ToQString(WordPanelHtml(content, TranslatedLabels())));
  QToolTip::showText(QCursor::pos(), ToQString(WordGloss(content)), ui_->webView);
  Trace("hovered word", timer);
}

void MainWindow::onWordListSensesChosen(bool shown) {
  const Status status =
      UpdateLearnerOptions(root_, [shown](LearnerOptions& options) { options.wordListSenses = shown; });
  if (!status.tookEffect()) {
    wordListSensesAction_.setChecked(options_.wordListSenses);
    desktop_.Tell(this, WindowText(kSettingsFailedCaption),
                  WindowText(kOptionNotSaved).arg(QString::fromStdString(status.ToString())), Desktop::Icon::kError);
    return;
  }
  options_.wordListSenses = shown;
  showWordListLines();
}

void MainWindow::showWordListLines() {
  const bool senses = options_.wordListSenses && openDictionary();
  for (int row = 0; row < ui_->wordList->count(); ++row) {
    QListWidgetItem& item = *ui_->wordList->item(row);
    const QString word = item.data(Qt::UserRole).toString();
    QString line = QString::number(item.data(kWordPositionRole).toLongLong()) + QLatin1Char(':') + word;
    QString sense;
    if (senses) {
      const auto language = static_cast<Language>(item.data(kWordLanguageRole).toInt());
      sense = ToQString(WordListSense(dictionary_, ToU16(word), language));
    }
    if (!sense.isEmpty()) line += QStringLiteral(" \u2014 ") + sense;
    item.setText(line);
    item.setToolTip(sense);
  }
}

}  // namespace tamrel
