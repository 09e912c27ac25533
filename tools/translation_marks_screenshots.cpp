// tamrel-translation-marks-screenshots: the translations of the matched words marked over the
// page (hello, 打算, cheese, the last two with the word panel's translation summary) and the
// sentences of one translation, on the runtime folder it runs in, saved as PNGs to the folder given as the
// argument; prints how long marking each page's results took. Run under an X display
// (scripts/translation-marks-screenshots.sh uses Xvfb).
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QWebEnginePage>
#include <cstdio>
#include <memory>

#include "app/application.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "app/translation_marks.h"
#include "tests/app/scripted_desktop.h"

using tamrel::Application;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::TranslationMarks;
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

bool SearchMarked(MainWindow& window, TranslationMarks& marks, const QString& text) {
  QSignalSpy drawn(&marks, &TranslationMarks::marked);
  window.findChild<QLineEdit*>(QStringLiteral("inputEdit"))->setText(text);
  window.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
  const bool ok = drawn.wait(20000);
  std::printf("%s: %d ranges marked, worked out in %.2f ms\n", qPrintable(text), ok ? drawn[0][0].toInt() : -1,
              marks.lastMilliseconds());
  QTest::qWait(1000);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tamrel-translation-marks-screenshots OUTPUT_FOLDER\n");
    return 2;
  }
  Application::prepareStart();
  Application app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QSettings().setValue(QStringLiteral("wordPanel/shown"), true);
  ScriptedDesktop desktop;
  desktop.answers = {true, true, true, true};
  auto window = std::make_unique<MainWindow>(desktop);
  window->initialize();
  window->show();
  window->move(0, 0);
  window->resize(1200, 800);
  auto* view = window->findChild<ResultView*>(QStringLiteral("webView"));
  QSignalSpy shown(view, &ResultView::pageShown);
  shown.wait(20000);
  auto* marks = view->page()->findChild<TranslationMarks*>();
  if (marks == nullptr) return 1;
  marks->aligner(/*waitForTable=*/true);  // the pictures show the marks with the learned table

  bool ok = true;
  for (const auto& [text, file] : {std::pair{QStringLiteral("hello"), QStringLiteral("marks-hello.png")},
                                   std::pair{QStringLiteral("打算"), QStringLiteral("marks-dasuan.png")},
                                   std::pair{QStringLiteral("cheese"), QStringLiteral("marks-cheese.png")}}) {
    ok &= SearchMarked(*window, *marks, text) && SaveScreen(*window, out.filePath(file));
  }
  // The summary of 打算 in the panel (marks-dasuan.png shows it), then the sentences of its
  // first translation.
  ok &= SearchMarked(*window, *marks, QStringLiteral("打算"));
  auto* panel = window->findChild<QTextBrowser*>(QStringLiteral("wordPanel"));
  const int at = panel->toHtml().indexOf(QStringLiteral("tamrel:aligned?"));
  if (at >= 0) {
    const QString html = panel->toHtml();
    const QString link =
        html.mid(at, html.indexOf(QLatin1Char('"'), at) - at).replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    emit panel->anchorClicked(QUrl(link));
    ok &= SaveScreen(*window, out.filePath(QStringLiteral("translation-sentences.png")));
  } else {
    ok = false;
  }
  window.reset();
  QSettings().remove(QStringLiteral("wordPanel"));
  return ok ? 0 : 1;
}
