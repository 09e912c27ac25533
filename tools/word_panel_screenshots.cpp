// tamrel-word-panel-screenshots: the word panel on the runtime folder it runs in, saved as PNGs to
// the folder given as the argument: an English query's translations, and the entry and tooltip of
// a hovered Chinese word; it also prints how long the window took to open with the panel hidden
// and shown (the panel's remembered state is cleared first and at the end). Run under an X
// display (scripts/word-panel-screenshots.sh uses Xvfb), with TAMREL_TRACE_PANEL=1 for the time
// of each panel update.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <cstdio>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "tests/app/scripted_desktop.h"

using tamrel::Application;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::test::ScriptedDesktop;

namespace {

bool SaveScreen(QWidget& window, const QString& path) {
  QTest::qWait(500);
  const QRect area = window.frameGeometry();
  const QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  const bool saved = shot.save(path);
  std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(), shot.height());
  return saved;
}

bool Search(MainWindow& window, ResultView& view, const QString& text) {
  QSignalSpy shown(&view, &ResultView::pageShown);
  window.findChild<QLineEdit*>(QStringLiteral("inputEdit"))->setText(text);
  window.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
  const bool ok = shown.wait(20000);
  QTest::qWait(1000);
  return ok;
}

// Makes, initialises and shows a window; prints the time until its first page was shown.
std::unique_ptr<MainWindow> OpenTimed(ScriptedDesktop& desktop, const char* what) {
  QElapsedTimer timer;
  timer.start();
  auto window = std::make_unique<MainWindow>(desktop);
  window->initialize();
  window->show();
  const double opened = timer.nsecsElapsed() / 1e6;
  QSignalSpy shown(window->findChild<ResultView*>(QStringLiteral("webView")), &ResultView::pageShown);
  shown.wait(20000);
  std::printf("window with the panel %s: constructed and initialised in %.1f ms, first page shown at %.1f ms\n", what,
              opened, timer.nsecsElapsed() / 1e6);
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tamrel-word-panel-screenshots OUTPUT_FOLDER [CHINESE_WORD]\n");
    return 2;
  }
  Application::prepareStart();
  Application app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString chinese = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("学习");
  QSettings().remove(QStringLiteral("wordPanel"));

  ScriptedDesktop desktop;
  desktop.answers = {true, true, true, true};
  bool ok = true;
  // The first window also starts the web engine; the later ones are compared.
  OpenTimed(desktop, "hidden (the first window)").reset();
  OpenTimed(desktop, "hidden").reset();
  QSettings().setValue(QStringLiteral("wordPanel/shown"), true);
  std::unique_ptr<MainWindow> window = OpenTimed(desktop, "shown");
  window->move(0, 0);
  window->resize(1200, 800);
  auto* view = window->findChild<ResultView*>(QStringLiteral("webView"));

  ok &= Search(*window, *view, QStringLiteral("apple")) &&
        SaveScreen(*window, out.filePath(QStringLiteral("word-panel-english.png")));

  ok &= Search(*window, *view, chinese);
  // Moves the pointer over the first other Chinese word of the first sentence until the panel
  // shows it.
  auto* panel = window->findChild<QTextBrowser*>(QStringLiteral("wordPanel"));
  const QString before = panel->toPlainText();
  QVariantList box;
  bool done = false;
  view->page()->runJavaScript(QStringLiteral(R"((function (query) {
        var walker = document.createTreeWalker(document.querySelector('li'), NodeFilter.SHOW_TEXT);
        for (var node = walker.nextNode(); node; node = walker.nextNode()) {
          var words = node.data.split(' '), at = 0;
          for (var i = 0; i < words.length; at += words[i].length + 1, ++i) {
            if (!/[\u4e00-\u9fff]/.test(words[i]) || words[i] === query) continue;
            var range = document.createRange();
            range.setStart(node, at);
            range.setEnd(node, at + 1);
            var r = range.getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];
          }
        }
        return [];
      })('%1'))")
                                  .arg(chinese),
                              [&](const QVariant& v) {
                                box = v.toList();
                                done = true;
                              });
  for (int i = 0; i < 200 && !done; ++i) QTest::qWait(50);
  QWidget* page = view->focusProxy() != nullptr ? view->focusProxy() : view;
  const QPoint point = box.size() == 2 ? QPoint(static_cast<int>(box[0].toDouble() * view->zoomFactor()),
                                                static_cast<int>(box[1].toDouble() * view->zoomFactor()))
                                       : QPoint(60, 60);
  for (int i = 0; i < 50 && panel->toPlainText() == before; ++i) {
    QTest::mouseMove(page, point + QPoint(i % 2, 0));
    QTest::qWait(100);
  }
  QTest::qWait(300);
  ok &= panel->toPlainText() != before && SaveScreen(*window, out.filePath(QStringLiteral("word-panel-hover.png")));
  window.reset();
  QSettings().remove(QStringLiteral("wordPanel"));
  return ok ? 0 : 1;
}
