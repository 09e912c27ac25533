// tamrel-import-screenshots: in the runtime folder it runs in, opens File > Import Sentences...,
// picks FILE for the bilingual corpus (replacing it), imports it and searches WORD, saving a PNG
// of the dialog, of the progress dialog while it shows, and of the result to OUTPUT_FOLDER. Run
// under an X display (scripts/import-screenshots.sh uses Xvfb); it replaces the corpus it runs on.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <cstdio>

#include "app/application.h"
#include "app/import_dialog.h"
#include "app/import_run.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "tests/app/scripted_desktop.h"

using tamrel::Application;
using tamrel::ImportDialog;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::test::ScriptedDesktop;

namespace {

// Saves a picture of `window`; false when it could not, or when the window closed while it was
// being brought to the front (the progress dialog goes away as soon as its import ends).
bool Save(QWidget& window, const QString& path) {
  const QPointer<QWidget> alive = &window;
  window.raise();
  window.activateWindow();
  QTest::qWait(300);
  if (alive.isNull()) return false;
  const QPixmap shot = window.screen()->grabWindow(window.winId());
  const bool saved = shot.save(path);
  std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(), shot.height());
  return saved;
}

void WaitForPage(ResultView& view) {
  bool loaded = false;
  const auto connection = QObject::connect(&view, &QWebEngineView::loadFinished, [&loaded] { loaded = true; });
  QElapsedTimer timer;
  timer.start();
  while (!loaded && timer.elapsed() < 15000) QTest::qWait(50);
  QObject::disconnect(connection);
  QTest::qWait(1500);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tamrel-import-screenshots OUTPUT_FOLDER FILE [WORD]\n");
    return 2;
  }
  Application::prepareStart();
  Application app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString file = QString::fromLocal8Bit(argv[2]);
  const QString word = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("zebra");

  ScriptedDesktop desktop;
  desktop.answers = {false};  // no greeting
  bool ok = true;
  MainWindow window(desktop);
  window.initialize();
  window.show();
  auto* view = window.findChild<ResultView*>(QStringLiteral("webView"));
  WaitForPage(*view);

  desktop.chosenFiles = {file};
  desktop.onModal = [&](QDialog& dialog) {
    dialog.show();
    dialog.findChild<QPushButton*>(QStringLiteral("addFilesButton"))->click();
    ok &= Save(dialog, out.filePath(QStringLiteral("import-dialog.png")));
    return static_cast<int>(QDialog::Accepted);
  };
  window.findChild<QAction*>(QStringLiteral("actionImport"))->trigger();
  QTest::qWait(200);
  if (window.importRun() != nullptr) {
    (void)Save(window.importRun()->progressDialog(), out.filePath(QStringLiteral("import-progress.png")));
  }
  QElapsedTimer timer;
  timer.start();
  while (window.importRun() != nullptr && timer.elapsed() < 600000) QTest::qWait(50);
  for (const ScriptedDesktop::Message& message : desktop.messages) {
    std::printf("message: %s: %s\n", qPrintable(message.caption), qPrintable(message.text));
  }

  window.findChild<QLineEdit*>(QStringLiteral("inputEdit"))->setText(word);
  window.findChild<QPushButton*>(QStringLiteral("searchButton"))->click();
  WaitForPage(*view);
  ok &= !window.history().entries().empty() && Save(window, out.filePath(QStringLiteral("import-search.png")));
  return ok ? 0 : 1;
}
