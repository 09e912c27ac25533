// tamrel-screenshots: opens the main window in the current runtime folder, searches an English
// and a Chinese word, opens the Word Test with one question, and saves a PNG of each view to the
// folder given as the argument. Run under an X display (scripts/screenshots.sh uses Xvfb).
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstdio>

#include "app/application.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "app/word_test_dialog.h"
#include "tests/app/scripted_desktop.h"

using tamrel::Application;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::WordTestDialog;
using tamrel::test::ScriptedDesktop;

namespace {

// Waits for the web view's current load to finish (or `limitMs`), then lets it paint.
void WaitForPage(ResultView& view, int limitMs = 15000) {
  bool loaded = false;
  const auto connection = QObject::connect(&view, &QWebEngineView::loadFinished, [&loaded] { loaded = true; });
  QElapsedTimer timer;
  timer.start();
  while (!loaded && timer.elapsed() < limitMs) QTest::qWait(50);
  QObject::disconnect(connection);
  QTest::qWait(1500);
}

bool Save(QWidget& window, const QString& path) {
  window.raise();
  window.activateWindow();
  QTest::qWait(300);
  const QPixmap shot = window.screen()->grabWindow(window.winId());
  const bool saved = shot.save(path);
  std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(), shot.height());
  return saved;
}

bool Search(MainWindow& window, ResultView& view, const QString& text) {
  auto* input = window.findChild<QLineEdit*>(QStringLiteral("inputEdit"));
  input->setText(text);
  const QUrl before = view.requestedUrl();
  window.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
  if (view.requestedUrl() == before && window.history().entries().empty()) return false;
  WaitForPage(view);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tamrel-screenshots OUTPUT_FOLDER [ENGLISH_WORD CHINESE_WORD]\n");
    return 2;
  }
  Application::prepareStart();
  Application app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString english = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("friend");
  const QString chinese = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("朋友");

  ScriptedDesktop desktop;
  desktop.tick = 20240607;
  bool ok = true;
  MainWindow window(desktop);
  window.initialize();
  for (const ScriptedDesktop::Message& message : desktop.messages) {
    std::printf("message: %s: %s\n", qPrintable(message.caption), qPrintable(message.text.left(60)));
  }
  window.show();
  auto* view = window.findChild<ResultView*>(QStringLiteral("webView"));
  WaitForPage(*view);
  ok &= Save(window, out.filePath(QStringLiteral("main-window.png")));

  window.findChild<QLineEdit*>(QStringLiteral("numberEdit"))->setText(QStringLiteral("100"));
  ok &= Search(window, *view, english) && Save(window, out.filePath(QStringLiteral("search-english.png")));
  ok &= Search(window, *view, chinese) && Save(window, out.filePath(QStringLiteral("search-chinese.png")));

  // The Word Test at the Normal level, where the sentence shows; answered right.
  desktop.onModal = [&](QDialog& dialog) {
    dialog.show();
    dialog.findChild<QRadioButton*>(QStringLiteral("normalRadio"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("nextButton"))->click();
    QTest::qWait(500);
    ok &= Save(dialog, out.filePath(QStringLiteral("word-test.png")));
    if (auto* test = qobject_cast<WordTestDialog*>(&dialog)) {
      const QString right = QStringLiteral("choice%1Radio").arg(QChar(u'A' + test->engine().answerIndex()));
      dialog.findChild<QRadioButton*>(right)->setChecked(true);
    }
    dialog.findChild<QPushButton*>(QStringLiteral("checkButton"))->click();
    QTest::qWait(300);
    ok &= Save(dialog, out.filePath(QStringLiteral("word-test-scored.png")));
    return QDialog::Accepted;
  };
  window.findChild<QPushButton*>(QStringLiteral("wordTestButton"))->click();

  // The two small dialogs, closed with Cancel / Escape.
  const auto shoot = [&](const char* action, const QString& file) {
    desktop.onModal = [&, file](QDialog& dialog) {
      dialog.show();
      ok &= Save(dialog, out.filePath(file));
      return static_cast<int>(QDialog::Rejected);
    };
    window.findChild<QAction*>(QString::fromLatin1(action))->trigger();
  };
  shoot("actionSystemSettings", QStringLiteral("settings.png"));
  shoot("actionAbout", QStringLiteral("about.png"));
  return ok ? 0 : 1;
}
