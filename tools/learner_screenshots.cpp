// tamrel-learner-screenshots: the learner features on the runtime folder it runs in, saved as
// PNGs to the folder given as the argument: a Chinese search with tone colours (the option is
// turned on in data/options.json of that folder, so run it in a scratch copy), the Speak entry of
// the web view's context menu, the File menu with Export Results..., and the window grown to 1200x800.
// Run under an X display (scripts/learner-screenshots.sh uses Xvfb).
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "settings/learner_options.h"
#include "tests/app/scripted_desktop.h"

using tamrel::Application;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::test::ScriptedDesktop;

namespace {

// The screen around the window and any popup menu open over it.
bool SaveScreen(QWidget& window, const QString& path) {
  QTest::qWait(500);
  QRect area = window.frameGeometry();
  if (QWidget* popup = QApplication::activePopupWidget()) area = area.united(popup->geometry());
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

// The centre of the first bullet's line `line` (0: the first) in view coordinates.
QPoint LineCentre(ResultView& view, int line) {
  QVariantList box;
  bool done = false;
  view.page()->runJavaScript(
      QStringLiteral("(function () { var item = document.querySelector('li'); var r = document.createRange();"
                     "var brs = item.querySelectorAll('br'); if (%1 > 0) r.setStartAfter(brs[%1 - 1]);"
                     "else r.setStart(item, 0); r.setEndBefore(brs[%1]); var b = r.getBoundingClientRect();"
                     "return [b.left + Math.min(b.width / 2, 120), b.top + b.height / 2]; })()")
          .arg(line),
      [&](const QVariant& v) {
        box = v.toList();
        done = true;
      });
  for (int i = 0; i < 200 && !done; ++i) QTest::qWait(50);
  if (box.size() != 2) return QPoint(200, 120);
  return QPoint(static_cast<int>(box[0].toDouble() * view.zoomFactor()),
                static_cast<int>(box[1].toDouble() * view.zoomFactor()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tamrel-learner-screenshots OUTPUT_FOLDER [CHINESE_WORD]\n");
    return 2;
  }
  Application::prepareStart();
  Application app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString chinese = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("朋友");
  if (!tamrel::UpdateLearnerOptions(".", [](tamrel::LearnerOptions& o) { o.toneColours = true; }).ok()) {
    std::fprintf(stderr, "cannot turn tone colours on in data/options.json\n");
    return 1;
  }

  ScriptedDesktop desktop;
  desktop.answers = {true};
  bool ok = true;
  MainWindow window(desktop);
  window.initialize();
  window.show();
  auto* view = window.findChild<ResultView*>(QStringLiteral("webView"));
  ok &= Search(window, *view, chinese) && SaveScreen(window, out.filePath(QStringLiteral("tone-colours.png")));

  // A right click on the first sentence's Chinese line, as a person makes it.
  QWidget* page = view->focusProxy() != nullptr ? view->focusProxy() : view;
  const QPoint point = LineCentre(*view, 1);
  QTest::mouseMove(page, point);
  QTest::mouseClick(page, Qt::RightButton, {}, point);
  for (int i = 0; i < 100 && QApplication::activePopupWidget() == nullptr; ++i) QTest::qWait(50);
  if (QWidget* menu = QApplication::activePopupWidget()) {
    QTest::qWait(500);  // the Speak entry is readied once the sentence is found
    auto* speak = window.findChild<QAction*>(QStringLiteral("actionSpeak"));
    qobject_cast<QMenu*>(menu)->setActiveAction(speak);
    ok &= SaveScreen(window, out.filePath(QStringLiteral("speak-menu.png")));
    menu->close();
  } else {
    std::printf("FAILED: no context menu\n");
    ok = false;
  }

  auto* file = window.findChild<QMenu*>(QStringLiteral("menuFile"));
  window.findChild<QMenuBar*>(QStringLiteral("menuBar"))->setActiveAction(file->menuAction());
  for (int i = 0; i < 40 && QApplication::activePopupWidget() == nullptr; ++i) QTest::qWait(50);
  file->setActiveAction(window.findChild<QAction*>(QStringLiteral("actionExport")));
  ok &= SaveScreen(window, out.filePath(QStringLiteral("export-menu.png")));
  file->close();

  // Without a window manager (Xvfb) maximising does nothing; a larger size shows the same.
  window.move(0, 0);
  window.resize(1200, 800);
  QTest::qWait(1500);
  ok &= SaveScreen(window, out.filePath(QStringLiteral("window-grown.png")));

  // Pinyin typed with tone digits, and a text that nothing matches.
  ok &= Search(window, *view, QStringLiteral("ni3 hao3")) &&
        SaveScreen(window, out.filePath(QStringLiteral("search-pinyin.png")));
  ok &= Search(window, *view, QStringLiteral("xyzzy")) &&
        SaveScreen(window, out.filePath(QStringLiteral("not-found.png")));
  return ok ? 0 : 1;
}
