// The word panel beside the result page: hidden until Options > Word Panel shows it; after a
// search it holds the entries of the Chinese words searched or the translations of an English
// query as links that search; the Chinese word under the pointer shows its entry; the page file
// stays as the search writes it.
#include "app/word_panel.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include "app/main_window.h"
#include "app/result_view.h"
#include "app/translation.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"

using tamrel::ResultView;
using tamrel::WordPanel;
using tamrel::test::FileBytes;
using tamrel::test::Named;
using tamrel::test::RunScript;

class WordPanelTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  WordPanel* Panel() { return Named<WordPanel>(*window_, QStringLiteral("wordPanel")); }
  void ShowPanel() {
    Action("actionWordPanel")->setChecked(true);
    QVERIFY(Panel()->isVisible());
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

  void hiddenUntilTheMenuShowsIt() {
    Open();
    QVERIFY(!Panel()->isVisible());
    QVERIFY(!Action("actionWordPanel")->isChecked());
    QVERIFY(SearchAndWait(QStringLiteral("天气")));
    QVERIFY(Panel()->toPlainText().isEmpty());  // a hidden panel costs the search nothing
    ShowPanel();
    Open();  // remembered
    QVERIFY(Panel()->isVisible());
  }

  void searchShowsTheEntriesOfTheWordsSearched() {
    Open();
    ShowPanel();
    QVERIFY(SearchAndWait(QStringLiteral("天气")));
    // Searched while the dictionary may still be opening: the entry comes when it is ready.
    QTRY_VERIFY2_WITH_TIMEOUT(Panel()->toPlainText().contains(QStringLiteral("weather")),
                              qPrintable(Panel()->toPlainText()), 20000);
    QVERIFY(Panel()->toPlainText().contains(QStringLiteral("tiānqì")));
    QVERIFY(Panel()->toHtml().contains(QStringLiteral("HSK 1")));
  }

  void englishQueryShowsTranslationsThatSearch() {
    Open();
    ShowPanel();
    QVERIFY(SearchAndWait(QStringLiteral("weather")));
    QTRY_VERIFY2_WITH_TIMEOUT(Panel()->toHtml().contains(QStringLiteral("tamrel:search?text=")),
                              qPrintable(Panel()->toHtml()), 20000);
    QVERIFY(Panel()->toPlainText().contains(QStringLiteral("天气")));
    QSignalSpy shown(View(), &ResultView::pageShown);
    emit Panel()->anchorClicked(QUrl(QStringLiteral("tamrel:search?text=%E5%A4%A9%E6%B0%94")));
    QCOMPARE(Input()->text(), QStringLiteral("天气"));
    QVERIFY(shown.wait(20000));
  }

  void hoveredWordShowsItsEntry() {
    Open();
    ShowPanel();
    QVERIFY(SearchAndWait(QStringLiteral("很")));
    // The centre of 天气 in the first sentence, found in the page's text.
    const QVariantList box = RunScript(*View(), QStringLiteral(R"((function () {
          var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
          for (var node = walker.nextNode(); node; node = walker.nextNode()) {
            var at = node.data.indexOf('天气');
            if (at < 0) continue;
            var range = document.createRange();
            range.setStart(node, at);
            range.setEnd(node, at + 2);
            var r = range.getBoundingClientRect();
            return [r.left + r.width / 2, r.top + r.height / 2];
          }
          return [];
        })())"))
                                 .toList();
    QCOMPARE(box.size(), 2);
    const QPoint point(static_cast<int>(box[0].toDouble()), static_cast<int>(box[1].toDouble()));
    QWidget* page = View()->focusProxy() != nullptr ? View()->focusProxy() : View();
    // The page's script runs once the channel is up: move until the panel answers.
    for (int i = 0; i < 100 && !Panel()->toPlainText().contains(QStringLiteral("weather")); ++i) {
      QTest::mouseMove(page, point + QPoint(0, i % 2));
      QTest::qWait(100);
    }
    QVERIFY2(Panel()->toPlainText().contains(QStringLiteral("weather")), qPrintable(Panel()->toPlainText()));
  }

  // The panel's own words come from the window's translation, the dictionary's text stays.
  void chineseTranslationShowsChineseLabels() {
    tamrel::ApplyWindowLanguage(tamrel::WindowLanguage::kSimplifiedChinese);
    Open();
    QCOMPARE(Action("actionWordPanel")->text(), QStringLiteral("词典面板(&W)"));
    QCOMPARE(Action("actionWordListSenses")->text(), QStringLiteral("词语列表显示词义(&L)"));
    ShowPanel();
    QVERIFY(SearchAndWait(QStringLiteral("天气")));
    QTRY_VERIFY_WITH_TIMEOUT(Panel()->toPlainText().contains(QStringLiteral("weather")), 20000);
    const QString panel = Panel()->toPlainText();
    tamrel::ApplyWindowLanguage(tamrel::WindowLanguage::kEnglish);
    QVERIFY2(panel.contains(QStringLiteral("HSK 1级")), qPrintable(panel));
    QVERIFY2(panel.contains(QStringLiteral("常用")), qPrintable(panel));
    QVERIFY(panel.contains(QStringLiteral("weather")));
    QVERIFY(!panel.contains(QStringLiteral("common")));
  }

  // Options > Senses in Word List: each numbered word with its sense, remembered in data/options.json.
  void wordListShowsSensesWhenChosen() {
    Open();
    auto* list = Named<QListWidget>(*window_, "wordList");
    Named<QLineEdit>(*window_, "numberEdit")->setText(QStringLiteral("6"));
    QCOMPARE(list->item(0)->text(), QStringLiteral("6:weather"));
    QVERIFY(!QFile::exists(folder_->Path("data/options.json")));
    Action("actionWordListSenses")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(list->item(0)->text(), QStringLiteral("6:weather \u2014 天气"), 20000);
    QVERIFY(FileBytes(folder_->Path("data/options.json")).contains("\"wordListSenses\": true"));
    Named<QRadioButton>(*window_, "cnRadio")->click();
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    QVERIFY2(lines.filter(QStringLiteral(":天气 \u2014 weather")).size() == 1, qPrintable(lines.join(u'|')));
    Open();  // remembered
    QVERIFY(Action("actionWordListSenses")->isChecked());
    Action("actionWordListSenses")->trigger();
    list = Named<QListWidget>(*window_, "wordList");
    Named<QLineEdit>(*window_, "numberEdit")->setText(QStringLiteral("6"));
    QCOMPARE(list->item(0)->text(), QStringLiteral("6:weather"));
  }

  void pageFileIsTheSameWithThePanel() {
    Open();
    QVERIFY(SearchAndWait(QStringLiteral("天气")));
    const QByteArray without = FileBytes(folder_->Path("data/displayResult.html"));
    ShowPanel();
    QVERIFY(SearchAndWait(QStringLiteral("天气")));
    QCOMPARE(FileBytes(folder_->Path("data/displayResult.html")), without);
  }
};

TAMREL_WINDOW_TEST_MAIN(WordPanelTest)
#include "word_panel_test.moc"
