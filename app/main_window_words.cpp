// The word panel beside the result page (Options > Word Panel, hidden until shown; its place and
// width are remembered): after each search the dictionary entries of what was searched, and the
// entry of the Chinese word under the pointer with a short gloss as its tooltip. Double-clicking
// a Chinese word of the page, or a link of the panel, searches it. The dictionary is opened when
// the panel first needs it, so the window starts as fast as without it.
#include <QCursor>
#include <QElapsedTimer>
#include <QSettings>
#include <QSplitter>
#include <QToolTip>
#include <cstdio>

#include "app/growing_form.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/result_view.h"
#include "app/translation_marks.h"
#include "app/translation_summary_view.h"
#include "app/word_hover.h"
#include "app/word_panel.h"
#include "explorer/word_panel_content.h"
#include "search/search_core.h"
#include "ui_main_window.h"

namespace tamrel {

namespace {

const QString kPanelShownKey = QStringLiteral("wordPanel/shown");
const QString kPanelSizesKey = QStringLiteral("wordPanel/sizes");

// With TAMREL_TRACE_PANEL set, how long each panel update took goes to standard error.
void Trace(const char* what, const QElapsedTimer& timer) {
  static const bool enabled = qEnvironmentVariableIsSet("TAMREL_TRACE_PANEL");
  if (enabled) std::fprintf(stderr, "word panel: %s in %.2f ms\n", what, timer.nsecsElapsed() / 1e6);
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
  wordPanelAction_.setText(QStringLiteral("&Word Panel"));
  wordPanelAction_.setObjectName(QStringLiteral("actionWordPanel"));
  wordPanelAction_.setCheckable(true);
  wordPanelAction_.setShortcut(Qt::Key_F9);
  ui_->menuOptions->addAction(&wordPanelAction_);
  const QList<QVariant> sizes = remembered.value(kPanelSizesKey).toList();
  if (sizes.size() == 2) pageSplitter_->setSizes({sizes[0].toInt(), sizes[1].toInt()});
  wordPanel_->setVisible(false);
  connect(&wordPanelAction_, &QAction::toggled, this, &MainWindow::onWordPanelToggled);
  wordPanelAction_.setChecked(remembered.value(kPanelShownKey, false).toBool());

  auto* hover = new WordHover(*ui_->webView->page());
  translationMarks_ = new TranslationMarks(*ui_->webView->page(), root_);
  new TranslationSummaryView(*wordPanel_, *translationMarks_);  // owned by the panel
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
  QSettings settings;
  settings.setValue(kPanelShownKey, shown);
  // Shown for the first time: a third of the room, until the person drags it otherwise.
  if (shown && !settings.contains(kPanelSizesKey)) {
    const int width = pageSplitter_->width();
    pageSplitter_->setSizes({width - width / 3, width / 3});
  }
}

bool MainWindow::openDictionary() {
  if (!dictionaryTried_) {
    dictionaryTried_ = true;
    const Status status = dictionary_.Open(FindDictionary(root_));
    dictionaryOpen_ = status.ok();
    if (!dictionaryOpen_) wordPanel_->setPlainText(QString::fromStdString(status.ToString()));
  }
  return dictionaryOpen_;
}

void MainWindow::showWordPanelFor(const SearchCommandResult& result) {
  if (!wordPanel_->isVisible() || !openDictionary()) return;
  QElapsedTimer timer;
  timer.start();
  const SentenceCount count = [this](std::u16string_view word) {
    return static_cast<uint32_t>(CountSentences(bilingual_, word) + CountSentences(monolingual_, word));
  };
  wordPanel_->setHtml(ToQString(WordPanelHtml(WordPanelContentFor(dictionary_, result, count))));
  wordPanel_->findChild<TranslationSummaryView*>()->show(result);
  Trace("search entries", timer);
}

void MainWindow::onWordHovered(const QString& word) {
  if (!wordPanel_->isVisible() || !openDictionary()) return;
  QElapsedTimer timer;
  timer.start();
  const WordPanelContent content = WordPanelContentOfWord(dictionary_, ToU16(word));
  if (content.entries.empty()) return;
  wordPanel_->setHtml(ToQString(WordPanelHtml(content)));
  QToolTip::showText(QCursor::pos(), ToQString(WordGloss(content)), ui_->webView);
  Trace("hovered word", timer);
}

}  // namespace tamrel
