#include "app/search_link_page.h"

#include <QUrlQuery>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace tamrel {

namespace {

// The handler of the program's scheme. With one installed, the web engine treats a link to the
// scheme as a navigation of the page and asks acceptNavigationRequest, which takes it; without one
// the page is never asked and the link does nothing. Anything that still reaches the handler (an
// image or a frame of the page) is refused.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler {
 public:
  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override { job->fail(QWebEngineUrlRequestJob::RequestDenied); }
};

}  // namespace

SearchLinkPage::SearchLinkPage(QObject* parent) : QWebEnginePage(parent) {
  QWebEngineProfile* shared = profile();  // the default profile, shared by every page
  if (shared->urlSchemeHandler(kScheme) == nullptr) {
    shared->installUrlSchemeHandler(kScheme, new RefusingSchemeHandler(shared));
  }
}

void SearchLinkPage::RegisterScheme() {
  QWebEngineUrlScheme scheme(kScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  QWebEngineUrlScheme::registerScheme(scheme);
}

bool SearchLinkPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  if (url.scheme() != QLatin1String(kScheme)) return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
  if (url.path() == QLatin1String("search")) {
    const QString text = QUrlQuery(url).queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded);
    if (!text.trimmed().isEmpty()) emit searchLinkFollowed(text);
  }
  return false;  // the page stays: the search, if any, shows its own
}

}  // namespace tamrel
