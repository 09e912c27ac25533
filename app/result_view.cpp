#include "app/result_view.h"

#include <QDir>
#include <QFileInfo>

ResultView::ResultView(QWidget* parent) : QWebEngineView(parent) {}

QUrl ResultView::AddressToUrl(const QString& address) {
  const QUrl url(address);
  // A path has no scheme; "C:" style drive letters do not occur on this platform.
  if (address.startsWith(QLatin1Char('/')) || url.scheme().isEmpty()) {
    return QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
  }
  return url;
}

void ResultView::Navigate(const QString& address) {
  requested_ = AddressToUrl(address);
  load(requested_);
}
