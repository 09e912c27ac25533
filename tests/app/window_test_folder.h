// What the window suites share: a runtime folder (small bilingual and monolingual corpora and the
// three pages of data/ in a temporary folder, removed when the folder object goes); WindowFixture,
// the folder, a ScriptedDesktop and the main window each suite sets up for every test; Named, which
// finds a control by the object name its .ui file gives it; and the page's script and file reads.
#pragma once

#include <QAction>
#include <QByteArray>
#include <QFile>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QString>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWidget>
#include <QtGlobal>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/result_view.h"
#include "tests/app/scripted_desktop.h"
#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace tamrel::test {

// The child of `parent` of type T that the .ui files (or the window) name `name`. A control that
// is not there ends the suite with its name, where a null pointer would crash it without one.
template <typename T = QWidget>
T* Named(const QObject& parent, const QString& name) {
  T* found = parent.findChild<T*>(name);
  if (found == nullptr) {
    qFatal("%s has no %s named %s", qPrintable(parent.objectName()), T::staticMetaObject.className(), qPrintable(name));
  }
  return found;
}

// The whole file at `path`; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `script` in the page and waits (up to 20 s) for its value.
inline QVariant RunScript(ResultView& view, const QString& script) {
  QVariant result;
  bool done = false;
  view.page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    done = true;
  });
  for (int i = 0; i < 400 && !done; ++i) QTest::qWait(50);
  return result;
}

// Whether the runtime folder gets the small corpora, or is left for the suite to fill.
enum class Corpora { kSmall, kNone };

class WindowTestFolder {
 public:
  // Builds both corpora unless told not to; `ok()` says whether the builds succeeded.
  explicit WindowTestFolder(Corpora corpora = Corpora::kSmall) {
    const std::vector<SentenceGroup> bilingual = {
        {"我 有 一个 朋友 。", "wǒ yǒu yīgè péngyou 。", "I have a friend."},
        {"你好 ， 朋友 。", "nǐhǎo ， péngyou 。", "Hello, friend."},
        {"今天 天气 很 好 。", "jīntiān tiānqì hěn hǎo 。", "The weather is nice today."},
    };
    const std::vector<SentenceGroup> monolingual = {
        {"我们 是 朋友 。", "wǒmen shì péngyou 。", "We are friends."},
        {"天气 很 冷 。", "tiānqì hěn lěng 。", "It is cold."},
    };
    ok_ = corpora == Corpora::kNone ||
          (WriteCorpus(path(), u"BI", bilingual).ok() && WriteCorpus(path(), u"MO", monolingual).ok());
    for (const char* page : {"welcome.html", "cantfind.html", "Help.html"}) {
      WriteBytes(folder_.path() / "data" / page, std::string("<html><body>") + page + "</body></html>");
    }
  }

  bool ok() const { return ok_; }
  const std::filesystem::path& path() const { return folder_.path(); }
  // A path inside the folder: folder / "data/config.data".
  std::filesystem::path operator/(const std::filesystem::path& relative) const { return path() / relative; }
  QString Path(const std::string& relative) const { return QString::fromStdString((path() / relative).string()); }

 private:
  RuntimeFolder folder_;
  bool ok_ = false;
};

// The setup every window suite shares, as a second base of the suite's class (after QObject): the
// suite's init() calls SetUp, which makes a fresh runtime folder and a ScriptedDesktop whose
// current directory it is, and its cleanup() calls TearDown. The main window's suites open the
// window on them with Open and reach its controls through the helpers below.
class WindowFixture {
 protected:
  // False when the folder's corpora could not be built.
  bool SetUp(Corpora corpora = Corpora::kSmall) {
    folder_ = std::make_unique<WindowTestFolder>(corpora);
    desktop_ = std::make_unique<ScriptedDesktop>();
    desktop_->currentDirectory = folder_->path();
    return folder_->ok();
  }
  // The window first, then the desktop it holds, then the folder.
  void TearDown() {
    window_.reset();
    desktop_.reset();
    folder_.reset();
  }

  // Makes, initialises and shows the main window (a new one at each call).
  MainWindow& Open() {
    window_.reset();
    window_ = std::make_unique<MainWindow>(*desktop_);
    window_->initialize();
    window_->show();
    return *window_;
  }

  QLineEdit* Input() { return Named<QLineEdit>(*window_, QStringLiteral("inputEdit")); }
  QPushButton* SearchButton() { return Named<QPushButton>(*window_, QStringLiteral("searchButton")); }
  ResultView* View() { return Named<ResultView>(*window_, QStringLiteral("webView")); }
  QAction* Action(const char* name) { return Named<QAction>(*window_, QString::fromLatin1(name)); }

  // Types `text` into the input box and presses Search.
  void Search(const QString& text) {
    Input()->setText(text);
    SearchButton()->click();
  }
  // Searches `text` and waits until the page is shown at its top.
  bool SearchAndWait(const QString& text) {
    QSignalSpy shown(View(), &ResultView::pageShown);
    Search(text);
    return shown.wait(20000);
  }

  std::unique_ptr<WindowTestFolder> folder_;
  std::unique_ptr<ScriptedDesktop> desktop_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace tamrel::test
