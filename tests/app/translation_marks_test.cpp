// The translations of the matched words marked over the result page: after a Chinese or an
// English search, the words the aligner links with the red ones are underlined in the other
// language, and the page file stays as the search writes it.
#include "app/translation_marks.h"

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include "app/main_window.h"
#include "app/result_view.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"

using tamrel::TranslationMarks;
using tamrel::test::FileBytes;
using tamrel::test::RunScript;

class TranslationMarksTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  // Searches `text` and waits until the marks are drawn; the marked texts of each result,
  // "item:text" joined by '|'.
  QString SearchAndReadMarks(const QString& text) {
    auto* marks = View()->page()->findChild<TranslationMarks*>();
    if (marks == nullptr) return QStringLiteral("no TranslationMarks");
    QSignalSpy drawn(marks, &TranslationMarks::marked);
    Search(text);
    if (!drawn.wait(20000)) return QStringLiteral("not drawn");
    return RunScript(*View(), QStringLiteral(R"((function () {
          var items = document.querySelectorAll('li'), out = [];
          for (var i = 0; i < items.length; ++i) {
            var item = items[i].querySelectorAll('.tamrel-aligned');
            for (var j = 0; j < item.length; ++j) out.push(i + ':' + item[j].textContent);
          }
          return out.join('|');
        })())"))
        .toString();
  }

 private slots:
  void init() { QVERIFY(SetUp()); }
  void cleanup() { TearDown(); }

  void chineseQueryMarksTheEnglishTranslation() {
    Open();
    // 今天 天气 很 好 。 / The weather is nice today.: only "weather" translates 天气.
    QCOMPARE(SearchAndReadMarks(QStringLiteral("天气")), QStringLiteral("0:weather"));
  }

  void englishQueryMarksTheChineseTranslation() {
    Open();
    // 你好 ， 朋友 。 / Hello, friend.: 你好, not its neighbour 朋友 nor the comma.
    QCOMPARE(SearchAndReadMarks(QStringLiteral("hello")), QStringLiteral("0:你好"));
  }

  void pageFileStaysAsTheSearchWroteIt() {
    Open();
    QVERIFY(!SearchAndReadMarks(QStringLiteral("hello")).isEmpty());
    const QByteArray bytes = FileBytes(folder_->Path("data/displayResult.html"));
    QVERIFY(!bytes.isEmpty());
    QVERIFY(!bytes.contains("tamrel-aligned"));
    // The page as written holds the English line exactly as the search renders it.
    QVERIFY(bytes.contains("<span class=\"style1\"><font color=red>Hello, </font>friend. </span><BR>"));
  }
};

TAMREL_WINDOW_TEST_MAIN(TranslationMarksTest)
#include "translation_marks_test.moc"
