// The main window's learner features: pages that open at their top, a window that grows, the
// export of a page's sentences, tone colours and Speak.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <filesystem>

#include "app/main_window.h"
#include "app/result_view.h"
#include "app/speech.h"
#include "explorer/sentence_export.h"
#include "resources/window_texts.h"
#include "settings/learner_options.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"
#include "tests/support/corpus_writer.h"

using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::test::FileBytes;
using tamrel::test::Named;
using tamrel::test::RunScript;
using tamrel::test::ScriptedDesktop;

namespace {

// Selects the contents of the first element matching `selector` and waits for the view to know.
bool Select(ResultView& view, const QString& selector) {
  RunScript(view, QStringLiteral("var r = document.createRange(); r.selectNodeContents(document.querySelector('%1'));"
                                 "getSelection().removeAllRanges(); getSelection().addRange(r);")
                      .arg(selector));
  for (int i = 0; i < 200 && view.selectedText().isEmpty(); ++i) QTest::qWait(50);
  return !view.selectedText().isEmpty();
}

// The centre of the first element matching `selector`, in view coordinates.
QPoint CentreOf(ResultView& view, const QString& selector) {
  const QVariantList box =
      RunScript(view, QStringLiteral("(function () { var r = document.querySelector('%1').getBoundingClientRect();"
                                     "return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                          .arg(selector))
          .toList();
  if (box.size() != 2) return {};
  return (QPointF(box[0].toDouble(), box[1].toDouble()) * view.zoomFactor()).toPoint();
}

// Right-clicks the page at `point` as a person would and returns the context menu it opens.
QMenu* OpenContextMenu(ResultView& view, const QPoint& point) {
  QWidget* page = view.focusProxy() != nullptr ? view.focusProxy() : &view;
  QTest::mouseClick(page, Qt::RightButton, {}, point);
  QMenu* shown = nullptr;
  for (int i = 0; i < 200 && shown == nullptr; ++i) {
    QTest::qWait(50);
    for (QMenu* menu : view.findChildren<QMenu*>()) {
      if (menu->isVisible()) shown = menu;
    }
  }
  return shown;
}

QStringList Entries(const QMenu& menu) {
  QStringList entries;
  for (const QAction* action : menu.actions())
    entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return entries;
}

}  // namespace

class LearnerWindowTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  QWidget* Child(const char* name) { return Named(*window_, QString::fromLatin1(name)); }

 private slots:
  void init() { QVERIFY(SetUp()); }
  void cleanup() { TearDown(); }

  // The same result file loaded again would keep the scroll position of the page before.
  void everyResultPageOpensAtItsTop() {
    Open();
    View()->setZoomFactor(5.0);  // the small test corpus then fills more than the view
    QVERIFY(SearchAndWait(QStringLiteral("friend")));
    // The page may still be laying out at its zoom: scroll until it has room to scroll.
    int scrolled = 0;
    for (int i = 0; i < 100 && scrolled <= 100; ++i, QTest::qWait(100)) {
      scrolled = RunScript(*View(), QStringLiteral("window.scrollTo(0, 400); window.scrollY")).toInt();
    }
    QVERIFY(scrolled > 100);
    QVERIFY(SearchAndWait(QStringLiteral("weather")));
    QCOMPARE(RunScript(*View(), QStringLiteral("window.scrollY")).toInt(), 0);
  }

  // A query of thousands of characters is echoed in the page's title line: the window shows that
  // line cut with an ellipsis, the whole title as its tooltip, and leaves the page file as written.
  void longQueryTitleIsCutToOneLine() {
    Open();
    QString query;
    while (query.size() < 5000) query += QStringLiteral("friend ");
    QVERIFY(SearchAndWait(query.trimmed()));
    const QVariantList title = RunScript(*View(), QStringLiteral(R"(
        (function () {
          var font = document.querySelector('p a[name="TOP"] font');
          var box = font.getBoundingClientRect();
          return [box.height, box.right, document.documentElement.clientWidth, font.title.length,
                  getComputedStyle(font).textOverflow];
        })())"))
                                   .toList();
    QCOMPARE(title.size(), 5);
    QVERIFY2(title[0].toDouble() < 50, qPrintable(title[0].toString()));  // one line of the title's size
    QVERIFY(title[1].toDouble() <= title[2].toDouble());                  // inside the view
    QVERIFY(title[3].toInt() > 5000);                                     // the whole title as tooltip
    QCOMPARE(title[4].toString(), QStringLiteral("ellipsis"));
    QVERIFY(FileBytes(folder_->Path("data/displayResult.html")).contains(query.trimmed().toUtf8()));

    QVERIFY(SearchAndWait(QStringLiteral("friend")));  // a short title needs no tooltip
    QCOMPARE(RunScript(*View(), QStringLiteral("document.querySelector('p a[name=\"TOP\"] font').title")).toString(),
             QString());
  }

  void windowGrowsAndTheViewAndListTakeTheRoom() {
    Open();
    QVERIFY(window_->windowFlags() & Qt::WindowMaximizeButtonHint);
    const QSize least = window_->size();
    QCOMPARE(window_->minimumSize(), least);
    const QRect view = View()->geometry();
    const QRect list = Child("wordList")->geometry();
    const QRect search = Child("searchButton")->geometry();
    const QRect number = Child("numberEdit")->geometry();
    window_->resize(least + QSize(200, 150));
    QTRY_COMPARE(View()->geometry(), view.adjusted(0, 0, 200, 150));
    QCOMPARE(Child("wordList")->geometry(), list.adjusted(0, 0, 0, 150));
    QCOMPARE(Child("searchButton")->geometry(), search.translated(200, 0));
    QCOMPARE(Child("numberEdit")->geometry(), number);
    window_->resize(least - QSize(100, 100));  // never smaller than drawn
    QTRY_COMPARE(window_->size(), least);
    QCOMPARE(View()->geometry(), view);
    // The tab order is the form's. (The web engine moves its view in the chain by itself when it
    // makes the page's widget, so the view is left out.)
    const QStringList form = {"searchButton",
                              "inputEdit",
                              "buildButton",
                              "wordList",
                              "numberEdit",
                              "enRadio",
                              "cnRadio",
                              "historyLastButton",
                              "historyNextButton",
                              "historyPreviousButton",
                              "historyFirstButton",
                              "wordTestButton"};
    QStringList order;
    QWidget* w = Child("searchButton");
    for (int i = 0; i < 200 && order.size() < form.size(); ++i, w = w->nextInFocusChain()) {
      QWidget* control = w;
      while (control != nullptr && !form.contains(control->objectName())) control = control->parentWidget();
      if (control != nullptr && !order.contains(control->objectName())) order << control->objectName();
    }
    QCOMPARE(order, form);
  }

  void exportSavesTheSentencesOfThePage() {
    Open();
    desktop_->messages.clear();  // the greeting
    QVERIFY(!Action("actionExport")->isEnabled());
    Search(QStringLiteral("friend"));
    QVERIFY(Action("actionExport")->isEnabled());
    desktop_->saveFile = folder_->Path("cards.tsv");
    Action("actionExport")->trigger();
    QCOMPARE(desktop_->suggestedSaveFiles, QStringList{folder_->Path("tamrel-friend.tsv")});
    const QByteArray tsv = FileBytes(desktop_->saveFile);
    QVERIFY(tsv.startsWith("#separator:tab\n"));
    QVERIFY(tsv.contains("\n我有一个朋友。\twǒ yǒu yīgè péngyou。\tI have a friend.\tfriend\n"));
    QVERIFY(tsv.endsWith("\n你好，朋友。\tnǐhǎo， péngyou。\tHello, friend.\tfriend\n"));
    QCOMPARE(tsv.count('\n'), 4 + 2);
    // The end is told, with the number of notes and the file.
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Export Results"));
    QCOMPARE(desktop_->messages[0].text, QStringLiteral("Saved 2 notes to ") + desktop_->saveFile);
    QVERIFY(desktop_->messages[0].icon == tamrel::Desktop::Icon::kInformation);

    desktop_->messages.clear();
    desktop_->saveFile = folder_->Path("missing/cards.tsv");
    Action("actionExport")->trigger();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Export Failed"));
    QVERIFY(desktop_->messages[0].text.contains(QStringLiteral("does not exist")));
    QVERIFY(!QFile::exists(folder_->Path("missing")));

    Action("actionContents")->trigger();  // the help page holds no results
    QVERIFY(!Action("actionExport")->isEnabled());
  }

  // More sentences pages through the results of the last search, twenty at a time, in the order the
  // first page began; the history keeps the search once.
  void moreSentencesShowsTheNextTwentyUntilTheLast() {
    std::vector<tamrel::test::SentenceGroup> cats;
    for (int i = 1; i <= 45; ++i) {
      const std::string n = std::to_string(i);
      cats.push_back({"猫 " + n + " 。", "māo " + n + " 。", "Cat number " + n + " sleeps."});
    }
    QVERIFY(tamrel::test::WriteCorpus(folder_->path(), u"BI", cats).ok());
    Open();
    auto* more = Named<QPushButton>(*window_, QStringLiteral("moreButton"));
    QVERIFY(!more->isEnabled());
    QVERIFY(SearchAndWait(QStringLiteral("cat")));
    QVERIFY(more->isEnabled());
    const auto page = [&] { return FileBytes(folder_->Path("data/displayResult.html")); };
    QVERIFY(page().contains("number 20 "));
    QVERIFY(!page().contains("number 21 "));

    QSignalSpy shown(View(), &ResultView::pageShown);
    more->click();
    QVERIFY(shown.wait(20000));
    QVERIFY(page().contains("number 21 ") && page().contains("number 40 "));
    QVERIFY(!page().contains("number 20 ") && !page().contains("number 41 "));
    QVERIFY(more->isEnabled());
    more->click();
    QVERIFY(shown.wait(20000));
    QVERIFY(page().contains("number 41 ") && page().contains("number 45 "));
    QVERIFY(!page().contains("number 40 "));
    QVERIFY(!more->isEnabled());  // five were left: the page was the last
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"cat"});

    // A new search starts at its first page again.
    QVERIFY(SearchAndWait(QStringLiteral("猫")));
    QVERIFY(page().contains("number 1 ") && more->isEnabled());
  }

  // The monolingual sentences of an English query have no Chinese, and Anki drops a note whose first
  // field is empty: only sentences with both sides are notes, so this page has none to export.
  void monolingualOnlyResultsHaveNothingToExport() {
    // Monolingual groups as a real corpus holds them: English alone, or Chinese and pinyin alone.
    QVERIFY(tamrel::test::WriteCorpus(folder_->path(), u"MO",
                                      {{"", "", "It is cold."}, {"天气 很 冷 。", "tiānqì hěn lěng 。", ""}})
                .ok());
    Open();
    Search(QStringLiteral("cold"));
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"cold"});
    QVERIFY(!Action("actionExport")->isEnabled());
    Search(QStringLiteral("冷"));
    QCOMPARE(window_->history().entries().size(), size_t{2});
    QVERIFY(!Action("actionExport")->isEnabled());
  }

  // The level beside the search box: All levels keeps the corpus order; a level puts the sentence
  // with fewer words above it first, and is remembered in the options file, written only then.
  void levelChoiceOrdersTheSentencesAndIsRemembered() {
    QVERIFY(tamrel::test::WriteCorpus(folder_->path(), u"BI",
                                      {{"猫 睡觉 龘龘 龘龘 龘龘 。", "māo shuìjiào ", "The cat sleeps hard."},
                                       {"猫 很 好 。", "māo hěn hǎo 。", "The cat is fine."}})
                .ok());
    Open();
    auto* levels = Named<QComboBox>(*window_, QStringLiteral("levelBox"));
    QCOMPARE(levels->currentText(), QStringLiteral("All levels"));
    QCOMPARE(levels->count(), 7);
    const auto page = [&] { return FileBytes(folder_->Path("data/displayResult.html")); };
    QVERIFY(SearchAndWait(QStringLiteral("猫")));
    QVERIFY(page().indexOf("sleeps hard") < page().indexOf("is fine"));
    QVERIFY(!QFile::exists(folder_->Path("data/options.json")));

    levels->setCurrentIndex(2);
    QVERIFY(FileBytes(folder_->Path("data/options.json")).contains("\"hskLevel\": 2"));
    QVERIFY(SearchAndWait(QStringLiteral("猫")));
    QVERIFY(page().indexOf("is fine") < page().indexOf("sleeps hard"));

    window_.reset();
    Open();
    QCOMPARE(Named<QComboBox>(*window_, QStringLiteral("levelBox"))->currentText(), QStringLiteral("HSK 2"));

    // A choice that cannot be written is told and not shown as made.
    std::filesystem::remove(folder_->Path("data/options.json").toStdString());
    std::filesystem::create_directories(folder_->Path("data/options.json").toStdString());
    desktop_->messages.clear();
    levels = Named<QComboBox>(*window_, QStringLiteral("levelBox"));
    levels->setCurrentIndex(4);
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Settings Not Saved"));
    QCOMPARE(levels->currentText(), QStringLiteral("HSK 2"));
    QVERIFY(SearchAndWait(QStringLiteral("猫")));
    QVERIFY(page().indexOf("is fine") < page().indexOf("sleeps hard"));
  }

  void toneColoursAreAnOptionOffByDefault() {
    Open();
    Search(QStringLiteral("朋友"));
    const QByteArray plain = FileBytes(folder_->Path("data/displayResult.html"));
    QVERIFY(!plain.contains("class=\"t2\""));
    window_.reset();
    QVERIFY(
        tamrel::UpdateLearnerOptions(folder_->path(), [](tamrel::LearnerOptions& o) { o.toneColours = true; }).ok());
    Open();
    Search(QStringLiteral("朋友"));
    const QByteArray toned = FileBytes(folder_->Path("data/displayResult.html"));
    QVERIFY(toned.contains("<font color=red><span class=\"t2\">朋</span><span class=\"t5\">友</span></font> "));
    QVERIFY(toned.contains("<span class=\"t3\">wǒ</span>"));
  }

  void speakReadsTheSelectionInItsLanguage() {
    Open();
    desktop_->messages.clear();  // the greeting
    QVERIFY(SearchAndWait(QStringLiteral("friend")));
    QVERIFY(Select(*View(), QStringLiteral("li span.style1")));
    Action("actionSpeakKey")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(desktop_->speech.said.size(), size_t{1}, 10000);
    QCOMPARE(desktop_->speech.said[0].text, QStringLiteral("I have a friend."));
    QCOMPARE(desktop_->speech.said[0].locale.language(), QLocale::English);

    // The context menu readies its entry for the text; without a voice it is disabled and says why.
    desktop_->speech.english = false;
    emit View()->contextMenuOpening(QPoint(10, 10));
    QTRY_VERIFY_WITH_TIMEOUT(Action("actionSpeak")->toolTip().contains(QStringLiteral("espeak-ng")), 10000);
    QVERIFY(!Action("actionSpeak")->isEnabled());
    Action("actionSpeakKey")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(desktop_->messages.size(), size_t{1}, 10000);
    QVERIFY(desktop_->messages[0].text.contains(QStringLiteral("No English voice")));
    QCOMPARE(desktop_->speech.said.size(), size_t{1});
  }

  // The page's context menu holds none of a browser's entries (Back, Reload, Save page, View page
  // source): Copy, Speak, and Search this, which searches the selected text.
  void contextMenuCopiesSpeaksAndSearchesTheSelection() {
    Open();
    QVERIFY(SearchAndWait(QStringLiteral("friend")));
    QVERIFY(Select(*View(), QStringLiteral("li span.style1")));
    QMenu* menu = OpenContextMenu(*View(), CentreOf(*View(), QStringLiteral("li span.style1")));
    QVERIFY(menu != nullptr);
    QCOMPARE(Entries(*menu), (QStringList{"Copy", "-", "Speak\tF8", "Search this"}));
    QVERIFY(Action("actionCopy") != nullptr && Action("actionSearchThis") != nullptr);
    QVERIFY(Action("actionCopy")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(Action("actionSpeak")->isEnabled(), 10000);
    QVERIFY(Action("actionSearchThis")->isEnabled());
    QGuiApplication::clipboard()->clear();
    Action("actionCopy")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(QGuiApplication::clipboard()->text().trimmed(), QStringLiteral("I have a friend."),
                              10000);
    menu->close();

    QSignalSpy shown(View(), &ResultView::pageShown);
    Action("actionSearchThis")->trigger();
    QCOMPARE(Input()->text(), QStringLiteral("I have a friend."));
    QCOMPARE(window_->history().entries().size(), size_t{2});
    QVERIFY(shown.wait(20000));

    // Without a selection, Copy and Search this have nothing to take.
    RunScript(*View(), QStringLiteral("getSelection().removeAllRanges()"));
    QTRY_VERIFY_WITH_TIMEOUT(View()->selectedText().isEmpty(), 10000);
    menu = OpenContextMenu(*View(), CentreOf(*View(), QStringLiteral("li span.style1")));
    QVERIFY(menu != nullptr);
    QCOMPARE(Entries(*menu), (QStringList{"Copy", "-", "Speak\tF8", "Search this"}));
    QVERIFY(!Action("actionCopy")->isEnabled());
    QVERIFY(!Action("actionSearchThis")->isEnabled());
    menu->close();
  }

  // Without a sound device nothing can be read aloud: Speak says so instead of staying silent.
  void speakWithoutASoundDeviceSaysSo() {
    Open();
    desktop_->messages.clear();  // the greeting
    QVERIFY(SearchAndWait(QStringLiteral("friend")));
    QVERIFY(Select(*View(), QStringLiteral("li span.style1")));
    desktop_->speech.start = tamrel::SpeechStart::kNoSoundDevice;
    desktop_->speech.english = false;  // not looked up without a sound device
    emit View()->contextMenuOpening(QPoint(10, 10));
    QTRY_COMPARE_WITH_TIMEOUT(Action("actionSpeak")->toolTip(), QString::fromLatin1(tamrel::kNoSoundDevice), 10000);
    QVERIFY(Action("actionSpeak")->isEnabled());  // choosing it says why nothing is read
    Action("actionSpeakKey")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(desktop_->messages.size(), size_t{1}, 10000);
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Speak"));
    QCOMPARE(desktop_->messages[0].text,
             QStringLiteral("No sound device was found, so the text cannot be read aloud."));
    QVERIFY(desktop_->speech.said.empty());
  }

  void soundDeviceIsAPlaybackDeviceOrASoundServer() {
    QTemporaryDir devices;
    QTemporaryDir runtime;
    QVERIFY(devices.isValid() && runtime.isValid());
    tamrel::SoundPlaces places{devices.path(), runtime.path(), QString()};
    const auto touch = [](const QString& path) {
      QFile file(path);
      return file.open(QIODevice::WriteOnly);
    };
    QVERIFY(!tamrel::HasSoundDevice(places));
    QVERIFY(touch(devices.filePath(QStringLiteral("pcmC0D0c"))));  // a microphone plays nothing
    QVERIFY(touch(devices.filePath(QStringLiteral("controlC0"))));
    QVERIFY(!tamrel::HasSoundDevice(places));
    QVERIFY(touch(devices.filePath(QStringLiteral("pcmC0D0p"))));
    QVERIFY(tamrel::HasSoundDevice(places));

    places.deviceFolder = QString();
    QVERIFY(!tamrel::HasSoundDevice(places));
    QVERIFY(touch(runtime.filePath(QStringLiteral("pipewire-0"))));
    QVERIFY(tamrel::HasSoundDevice(places));
    QVERIFY(QFile::remove(runtime.filePath(QStringLiteral("pipewire-0"))));
    QVERIFY(QDir(runtime.path()).mkpath(QStringLiteral("pulse")));
    QVERIFY(touch(runtime.filePath(QStringLiteral("pulse/native"))));
    QVERIFY(tamrel::HasSoundDevice(places));
    QVERIFY(tamrel::HasSoundDevice({QString(), QString(), QStringLiteral("tcp:sound.example:4713")}));
  }

  // The text Speak reads is found by a script of the page, whose answer may come when the window
  // is gone: closing the window then must touch nothing of it.
  void windowGoneBeforeThePageAnswersCrashesNothing() {
    Open();
    desktop_->messages.clear();  // the greeting
    QVERIFY(SearchAndWait(QStringLiteral("friend")));
    QVERIFY(View()->selectedText().isEmpty());  // so that the text is asked of the page
    emit View()->contextMenuOpening(QPoint(10, 10));
    Action("actionSpeakKey")->trigger();
    window_.reset();
    QTest::qWait(1000);  // any answer of the page arrives now
    QVERIFY(desktop_->speech.said.empty());
    QVERIFY(desktop_->messages.empty());
  }

  void speakReadsTheSentenceUnderThePointer() {
    Open();
    QVERIFY(SearchAndWait(QStringLiteral("friend")));
    // The middle of the first bullet's second line: its Chinese sentence.
    const QVariantList box = RunScript(*View(), QStringLiteral(R"(
        (function () {
          var range = document.createRange();
          var br = document.querySelector('li br');
          range.setStartAfter(br);
          range.setEndAfter(br.nextSibling);
          var r = range.getBoundingClientRect();
          return [r.left + r.width / 2, r.top + r.height / 2];
        })())"))
                                 .toList();
    QCOMPARE(box.size(), 2);
    const QPoint point(static_cast<int>(box[0].toDouble()), static_cast<int>(box[1].toDouble()));
    emit View()->contextMenuOpening(point);
    QTRY_VERIFY_WITH_TIMEOUT(Action("actionSpeak")->isEnabled(), 10000);
    Action("actionSpeak")->trigger();
    QCOMPARE(desktop_->speech.said.size(), size_t{1});
    QCOMPARE(desktop_->speech.said[0].text, QStringLiteral("我有一个朋友。"));
    QCOMPARE(desktop_->speech.said[0].locale.language(), QLocale::Chinese);
  }
};

TAMREL_WINDOW_TEST_MAIN(LearnerWindowTest)
#include "learner_window_test.moc"
