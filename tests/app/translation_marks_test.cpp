// The translations of the matched words marked over the result page: after a Chinese or an
// English search, the words the aligner links with the red ones are underlined in the other
// language, and the page file stays as the search writes it; the word panel sums up the searched
// word's translations, and a click on one lists the sentences where the word is aligned with it.
#include "app/translation_marks.h"

#include <QAction>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
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
  void init() {
    QSettings().remove(QStringLiteral("wordPanel"));  // remembered by an earlier run
    QVERIFY(SetUp());
  }
  void cleanup() {
    TearDown();
    QSettings().remove(QStringLiteral("wordPanel"));
  }

  void chineseQueryMarksTheEnglishTranslation() {
    Open();
    // 今天 天气 很 好 。 / The weather is nice today.: only "weather" translates 天气.
    QCOMPARE(SearchAndReadMarks(QStringLiteral("天气")), QStringLiteral("0:weather"));
    // Typed as pinyin, searched as 天气: the same mark.
    QCOMPARE(SearchAndReadMarks(QStringLiteral("tianqi")), QStringLiteral("0:weather"));
  }

  void englishQueryMarksTheChineseTranslation() {
    Open();
    // 你好 ， 朋友 。 / Hello, friend.: 你好, not its neighbour 朋友 nor the comma.
    QCOMPARE(SearchAndReadMarks(QStringLiteral("hello")), QStringLiteral("0:你好"));
  }

  void panelSumsUpTheTranslationsAndShowsTheirSentences() {
    Open();
    Action("actionWordPanel")->setChecked(true);
    auto* panel = window_->findChild<QTextBrowser*>(QStringLiteral("wordPanel"));
    QVERIFY(!SearchAndReadMarks(QStringLiteral("天气")).isEmpty());
    // The panel is filled once its dictionary has opened.
    QTRY_VERIFY2_WITH_TIMEOUT(panel->toPlainText().contains(QStringLiteral("weather (1)")),
                              qPrintable(panel->toPlainText()), 20000);
    emit panel->anchorClicked(QUrl(QStringLiteral("tamrel:aligned?word=%E5%A4%A9%E6%B0%94&as=weather")));
    QVERIFY2(panel->toPlainText().contains(QStringLiteral("The weather is nice today.")),
             qPrintable(panel->toPlainText()));
    emit panel->anchorClicked(QUrl(QStringLiteral("tamrel:aligned?word=%E5%A4%A9%E6%B0%94&as=nice")));
    QVERIFY(!panel->toPlainText().contains(QStringLiteral("The weather is nice today.")));
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
