// Searches started from the result page: Search this in its context menu searches the selected
// text, and a tamrel:search link its text, as if it were typed into the input box.
#include "app/main_window.h"
#include "app/result_view.h"
#include "app/translation.h"
#include "resources/window_texts.h"
#include "ui_main_window.h"

namespace tamrel {

void MainWindow::setUpPageSearch() {
  searchThisAction_.setParent(this);  // so that it can be found by name, as the form's actions can
  searchThisAction_.setText(WindowText(kSearchThisEntry));
  searchThisAction_.setObjectName(QStringLiteral("actionSearchThis"));
  searchThisAction_.setEnabled(false);  // until a context menu opens on a selection
  ui_->webView->addContextAction(&searchThisAction_);
  connect(ui_->webView, &ResultView::contextMenuOpening, this, &MainWindow::onPageMenuOpening);
  connect(&searchThisAction_, &QAction::triggered, this, &MainWindow::onSearchThis);
  connect(ui_->webView, &ResultView::searchLinkFollowed, this, &MainWindow::searchFor);
}

void MainWindow::onPageMenuOpening() {
  searchThisText_ = ui_->webView->selectedText().simplified();
  searchThisAction_.setEnabled(!searchThisText_.isEmpty());
}

void MainWindow::onSearchThis() {
  if (!searchThisText_.isEmpty()) searchFor(searchThisText_);
}

void MainWindow::searchFor(const QString& text) {
  // A selection across lines holds line breaks, which a one-line input box cannot show.
  ui_->inputEdit->setText(text.simplified());
  onSearch();
}

}  // namespace tamrel
