#include "app/result_view.h"

#include <QDir>
#include <QFileInfo>

namespace tamrel {

ResultView::ResultView(QWidget* parent) : QWebEngineView(parent) {}

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
  load(requested_);
}

}  // namespace tamrel
