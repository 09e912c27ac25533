// SearchLinkPage: the web page of the result view. A link to tamrel:search?text=TEXT (TEXT UTF-8,
// percent-encoded) asks the window to search TEXT instead of being followed; every other
// navigation goes as in any page.
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEnginePage>

namespace tamrel {

class SearchLinkPage : public QWebEnginePage {
  Q_OBJECT

 public:
  // Installs the scheme's handler in the page's profile when it has none yet: with it, the web
  // engine asks acceptNavigationRequest about the scheme's links.
  explicit SearchLinkPage(QObject* parent = nullptr);

  // The scheme of the program's own links, never loaded.
  static constexpr const char* kScheme = "tamrel";

  // Makes the scheme known to the web engine, which takes a handler for a known scheme only (see
  // the constructor). Must run before the QApplication is made.
  static void RegisterScheme();

 signals:
  // A tamrel:search link with a text that is not blank was followed.
  void searchLinkFollowed(const QString& text);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

}  // namespace tamrel
