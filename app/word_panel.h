// WordPanel: the panel beside the result page that shows the dictionary entries of what was
// searched or of the Chinese word under the pointer (explorer/word_panel_content.h makes its
// HTML). Its text is selectable; a link to a word asks the window to search it.
#pragma once

#include <QString>
#include <QTextBrowser>

namespace tamrel {

class WordPanel : public QTextBrowser {
  Q_OBJECT

 public:
  explicit WordPanel(QWidget* parent = nullptr);

 signals:
  // A tamrel:search link of the panel was clicked.
  void searchRequested(const QString& text);
};

}  // namespace tamrel
