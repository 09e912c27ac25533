// ResultView: the web view of the main window, a QWebEngineView with the operations the program
// needs. navigate returns at once; the page loads in the background and a page that does not load
// (a missing file, a closed network) shows whatever the view shows for it. Every page navigate
// shows opens at its top, even when it is the same file as before (the result page always is),
// which the view would otherwise show at the old scroll position, and with the title line of a
// result page kept to one line. The context menu holds Copy (of
// the selection) and the window's actions, none of a browser's entries (Back, Reload, Save page,
// View page source), which make no sense for a page of results; textAt finds what the person
// points at. Its page is a SearchLinkPage: links to tamrel:search ask the window for a search.
#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QUrl>
#include <QWebEngineView>
#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace tamrel {

class ResultView : public QWebEngineView {
  Q_OBJECT

 public:
  explicit ResultView(QWidget* parent = nullptr);
  ~ResultView() override;

  // Shows `address`: a plain file-system path becomes a file URL (a relative one resolves against
  // the current directory); anything with a scheme is loaded as it is.
  void navigate(const QString& address);

  // The address of the last navigate, as loaded.
  const QUrl& requestedUrl() const { return requested_; }

  // The URL navigate loads for `address`.
  static QUrl addressToUrl(const QString& address);

  // Actions shown below Copy in the context menu.
  void addContextAction(QAction* action) { contextActions_.append(action); }

  // Calls `done` with the selected text, or, without a selection, the line of the sentence at
  // `point` (view coordinates): the line of the bullet under it, or its first line when the point
  // is on none of them; an empty text when no sentence is there. The page's answer comes later,
  // from the event loop; `done` is not called once the view is being destroyed.
  void textAt(const QPoint& point, const std::function<void(const QString&)>& done);

 signals:
  // The context menu is about to be shown at `point` (view coordinates), the window's actions in it.
  void contextMenuOpening(const QPoint& point);
  // A page navigate asked for has finished loading, its title fitted and scrolled to its top.
  void pageShown();
  // A link of the page asked for a search of `text` (SearchLinkPage).
  void searchLinkFollowed(const QString& text);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void onLoadFinished(bool ok);
  // Runs `script` in the page and calls `done` with its value while the view is whole. The page
  // answers the scripts still pending when it is destroyed (with an empty value), which happens
  // while the view, and the window around it, are already partly gone: those answers reach no one.
  void runScript(const QString& script, const std::function<void(const QVariant&)>& done);

  std::shared_ptr<bool> whole_ = std::make_shared<bool>(true);  // false from the start of the destructor
  QUrl requested_;
  bool scrollToTop_ = false;
  QList<QAction*> contextActions_;
  QAction* copyAction_;  // Copy in the context menu, enabled when text is selected
};

}  // namespace tamrel
