#include "app/result_view.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPointer>

#include "app/search_link_page.h"
#include "app/translation.h"
#include "resources/window_texts.h"

namespace tamrel {

namespace {

// The text of the line under the point (x, y) in the bullet (<li>) there: the lines of a bullet
// are separated by <br>, so the line is the one after as many breaks as stand before the point.
constexpr const char* kLineAtPoint = R"JS(
(function (x, y) {
  var element = document.elementFromPoint(x, y);
  var item = element ? element.closest('li') : null;
  if (!item) return '';
  var lines = item.innerText.split('\n');
  var range = document.caretRangeFromPoint(x, y);
  var node = range ? range.startContainer : null;
  var line = 0;
  if (node && item.contains(node)) {
    item.querySelectorAll('br').forEach(function (br) {
      if (br.compareDocumentPosition(node) & Node.DOCUMENT_POSITION_FOLLOWING) ++line;
    });
  }
  return lines[line] || lines[0] || '';
})(%1, %2)
)JS";

// Run in the page shown before a new one loads and in the new one when it has loaded: a page loaded
// again at the same address would otherwise come back at the place it was left.
// (A document that is not shown yet, the first one, refuses the history setting; it has no place.)
constexpr const char* kToTop = "try { history.scrollRestoration = 'manual'; } catch (e) {} window.scrollTo(0, 0);";

// Run in a page when it has loaded: the title line of a result page (the first <p> with the TOP
// anchor: ' The results for "QUERY" ') is kept to one line, cut with an ellipsis, so that a query
// of thousands of characters does not fill the view; the whole title is its tooltip. The file
// keeps the title as written.
constexpr const char* kFitTitle = R"JS(
(function () {
  var anchor = document.querySelector('p a[name="TOP"]');
  var title = anchor ? anchor.querySelector('font') || anchor : null;
  if (!title) return;
  var style = title.style;
  style.display = 'inline-block';
  style.maxWidth = '90%';
  style.overflow = 'hidden';
  style.whiteSpace = 'nowrap';
  style.textOverflow = 'ellipsis';
  style.verticalAlign = 'bottom';
  if (title.scrollWidth > title.clientWidth) title.title = title.textContent.trim();
})();
)JS";

}  // namespace

ResultView::ResultView(QWidget* parent)
    : QWebEngineView(parent), copyAction_(new QAction(WindowText(kCopyEntry), this)) {
  copyAction_->setObjectName(QStringLiteral("actionCopy"));
  auto* page = new SearchLinkPage(this);
  setPage(page);
  connect(page, &SearchLinkPage::searchLinkFollowed, this, &ResultView::searchLinkFollowed);
  connect(this, &QWebEngineView::loadFinished, this, &ResultView::onLoadFinished);
  connect(copyAction_, &QAction::triggered, this, [this] { triggerPageAction(QWebEnginePage::Copy); });
}

ResultView::~ResultView() { *whole_ = false; }

void ResultView::runScript(const QString& script, const std::function<void(const QVariant&)>& done) {
  page()->runJavaScript(script, [whole = whole_, done](const QVariant& value) {
    if (*whole) done(value);
  });
}

QUrl ResultView::addressToUrl(const QString& address) {
  const QUrl url(address);
  // A path has no scheme.
  if (address.startsWith(QLatin1Char('/')) || url.scheme().isEmpty()) {
    return QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
  }
  return url;
}

void ResultView::navigate(const QString& address) {
  requested_ = addressToUrl(address);
  scrollToTop_ = true;
  page()->runJavaScript(QString::fromLatin1(kToTop));
  load(requested_);
}

void ResultView::onLoadFinished(bool ok) {
  if (!scrollToTop_) return;  // a link followed inside the page keeps its place
  // A load cut short by the next navigate reports failure: the flag waits for that next load.
  if (!ok) return;
  scrollToTop_ = false;
  QPointer<ResultView> self(this);
  runScript(QString::fromLatin1(kFitTitle) + QString::fromLatin1(kToTop), [self](const QVariant&) {
    if (self) emit self->pageShown();
  });
}

void ResultView::textAt(const QPoint& point, const std::function<void(const QString&)>& done) {
  const QString selected = selectedText();
  if (!selected.trimmed().isEmpty()) {
    done(selected);
    return;
  }
  // Page coordinates are CSS pixels: view pixels divided by the zoom.
  const QPointF css = QPointF(point) / zoomFactor();
  runScript(QString::fromLatin1(kLineAtPoint).arg(css.x()).arg(css.y()),
            [done](const QVariant& line) { done(line.toString()); });
}

void ResultView::contextMenuEvent(QContextMenuEvent* event) {
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->setToolTipsVisible(true);  // a disabled entry says why in its tooltip
  copyAction_->setEnabled(hasSelection());
  menu->addAction(copyAction_);
  if (!contextActions_.isEmpty()) {
    menu->addSeparator();
    menu->addActions(contextActions_);
  }
  emit contextMenuOpening(event->pos());
  menu->popup(event->globalPos());
}

}  // namespace tamrel
