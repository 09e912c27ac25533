// ResultView: the web view of the main window, a QWebEngineView with the one operation the
// program needs. navigate returns at once; the page loads in the background and a page that does
// not load (a missing file, a closed network) shows whatever the view shows for it.
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineView>

namespace tamrel {

class ResultView : public QWebEngineView {
  Q_OBJECT

 public:
  explicit ResultView(QWidget* parent = nullptr);

  // Shows `address`: a plain file-system path becomes a file URL (a relative one resolves against
  // the current directory); anything with a scheme is loaded as it is.
  void navigate(const QString& address);

  // The address of the last navigate, as loaded.
  const QUrl& requestedUrl() const { return requested_; }

  // The URL navigate loads for `address`.
  static QUrl addressToUrl(const QString& address);

 private:
  QUrl requested_;
};

}  // namespace tamrel
