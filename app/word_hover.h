// WordHover: the window's layer over the result page that tells which Chinese word the pointer
// is on and which one was double-clicked. A script injected into every page the view loads (the
// page files stay as the search wrote them) finds the word, a run of text between spaces that
// holds a Han character, and reports it through a web channel to this object.
#pragma once

#include <QObject>
#include <QString>

class QWebEnginePage;

namespace tamrel {

class WordHover : public QObject {
  Q_OBJECT

 public:
  // Injects the script into `page` and registers this object on its web channel.
  explicit WordHover(QWebEnginePage& page);

 public slots:
  // Called by the page's script.
  void hover(const QString& word);
  void choose(const QString& word);

 signals:
  void wordHovered(const QString& word);
  void wordChosen(const QString& word);
};

}  // namespace tamrel
