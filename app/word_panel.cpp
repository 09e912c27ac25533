#include "app/word_panel.h"

#include <QUrlQuery>

#include "app/search_link_page.h"

namespace tamrel {

WordPanel::WordPanel(QWidget* parent) : QTextBrowser(parent) {
  setObjectName(QStringLiteral("wordPanel"));
  setOpenLinks(false);
  document()->setIndentWidth(18);  // the numbered senses keep the narrow panel's room
  setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    if (url.scheme() != QLatin1String(SearchLinkPage::kScheme)) return;
    const QString text = QUrlQuery(url).queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded).simplified();
    if (!text.isEmpty()) emit searchRequested(text);
  });
}

}  // namespace tamrel
