#include "ui/explorer_display.h"

#include <QDir>
#include <QFileInfo>

CExplorer_display::CExplorer_display(QWidget* parent) : QWebEngineView(parent) {}

QUrl CExplorer_display::AddressToUrl(const QString& address) {
  const QUrl url(address);
  // A path has no scheme; "C:" style drive letters do not occur on this platform.
  if (address.startsWith(QLatin1Char('/')) || url.scheme().isEmpty()) {
    return QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
  }
  return url;
}

void CExplorer_display::Navigate(const QString& address) {
  requested_ = AddressToUrl(address);
  load(requested_);
}
