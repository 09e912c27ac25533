#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <initializer_list>
#include <vector>

#include "app/about_dialog.h"
#include "app/result_view.h"
#include "app/settings_dialog.h"
#include "app/word_test_dialog.h"
#include "explorer/messages.h"
#include "resources/product_info.h"
#include "settings/sys_settings.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"
#include "tests/support/test_support.h"

using tamrel::AboutDialog;
using tamrel::Desktop;
using tamrel::MainWindow;
using tamrel::ResultView;
using tamrel::WordTestDialog;
using tamrel::test::FileBytes;
using tamrel::test::Named;
using tamrel::test::RunScript;
using tamrel::test::ScriptedDesktop;

namespace {

QStringList Lines(QListWidget* list) {
  QStringList lines;
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

}  // namespace

class MainWindowTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  QListWidget* WordList() { return Named<QListWidget>(*window_, "wordList"); }
  QLineEdit* NumberBox() { return Named<QLineEdit>(*window_, "numberEdit"); }
  QPushButton* Button(const char* name) { return Named<QPushButton>(*window_, name); }
  QUrl ResultPage() const { return QUrl::fromLocalFile(folder_->Path("data/displayResult.html")); }
  // Opens System Settings, unchecks the boxes named `unchecked` and presses `button`.
  void ChangeSettings(std::initializer_list<const char*> unchecked, const char* button) {
    const std::vector<const char*> boxes(unchecked);
    desktop_->onModal = [boxes, button](QDialog& dialog) {
      for (const char* box : boxes) Named<QCheckBox>(dialog, box)->setChecked(false);
      Named<QPushButton>(dialog, button)->click();
      return dialog.result();
    };
    Action("actionSystemSettings")->trigger();
  }

 private slots:
  void init() { QVERIFY(SetUp()); }
  void cleanup() { TearDown(); }

  void enterInTheInputBoxWritesThePageAndShowsIt() {
    Open();
    QTest::keyClicks(Input(), QStringLiteral("friend"));
    QTest::keyClick(Input(), Qt::Key_Return);
    QVERIFY(QFile::exists(folder_->Path("data/displayResult.html")));
    QCOMPARE(View()->requestedUrl(), ResultPage());
    QTRY_COMPARE_WITH_TIMEOUT(View()->url(), ResultPage(), 20000);
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"friend"});
    QCOMPARE(Input()->text(), QStringLiteral("friend"));
  }

  void queryWithoutMatchShowsTheNotFoundPageAndKeepsTheRest() {
    Open();
    Search(QStringLiteral("friend"));
    const QByteArray page = FileBytes(folder_->Path("data/displayResult.html"));
    QVERIFY(!page.isEmpty());
    Search(QStringLiteral("xyzzy<b>"));
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(folder_->Path("data/notFound.html")));
    QVERIFY(FileBytes(folder_->Path("data/notFound.html")).contains("xyzzy&lt;b&gt;"));
    QCOMPARE(window_->history().entries().size(), size_t{1});
    QCOMPARE(FileBytes(folder_->Path("data/displayResult.html")), page);
  }

  void emptyInputDoesNothing() {
    Open();
    const QUrl welcome = View()->requestedUrl();
    Search(QString());
    QCOMPARE(View()->requestedUrl(), welcome);
    QVERIFY(window_->history().entries().empty());
  }

  void chineseQueryIsSegmentedForTheHistory() {
    Open();
    Search(QStringLiteral("天气很好"));
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"天气 很 好"});
    QCOMPARE(Input()->text(), QStringLiteral("天气很好"));
  }

  // Each history button puts the query it reaches into the input box; at either end it stays.
  void historyButtonsRestoreEarlierQueries() {
    Open();
    for (const char* query : {"friend", "weather", "today"}) Search(QString::fromLatin1(query));
    QCOMPARE(window_->history().entries().size(), size_t{3});
    const struct {
      const char* button;
      const char* shown;
    } steps[] = {
        {"historyPreviousButton", "weather"}, {"historyPreviousButton", "friend"}, {"historyPreviousButton", "friend"},
        {"historyLastButton", "today"},       {"historyNextButton", "today"},      {"historyFirstButton", "friend"},
        {"historyNextButton", "weather"},
    };
    for (const auto& step : steps) {
      Button(step.button)->click();
      QVERIFY2(Input()->text() == QString::fromLatin1(step.shown),
               qPrintable(QStringLiteral("%1 shows %2").arg(QLatin1String(step.button), Input()->text())));
    }
  }

  void freshHistoryButtonsKeepTheInput() {
    Open();
    Input()->setText(QStringLiteral("typed"));
    for (const char* name : {"historyLastButton", "historyNextButton", "historyPreviousButton", "historyFirstButton"}) {
      Button(name)->click();
    }
    QCOMPARE(Input()->text(), QStringLiteral("typed"));
  }

  void numberBoxFillsTheListAndAClickSearches() {
    Open();
    QTest::keyClicks(NumberBox(), QStringLiteral("3"));
    QCOMPARE(Lines(WordList()),
             (QStringList{"3:friend", "4:hello", "5:the", "6:weather", "7:is", "8:nice", "9:today"}));
    QListWidget* list = WordList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
    QCOMPARE(Input()->text(), QStringLiteral("weather"));
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"weather"});
    QCOMPARE(View()->requestedUrl(), ResultPage());
  }

  void numberBoxOtherTextEmptiesAndBackspaceToEmptyKeeps() {
    Open();
    QTest::keyClicks(NumberBox(), QStringLiteral("8a"));
    QVERIFY(Lines(WordList()).isEmpty());
    QTest::keyClick(NumberBox(), Qt::Key_Backspace);
    QCOMPARE(Lines(WordList()), (QStringList{"8:nice", "9:today"}));
    QTest::keyClick(NumberBox(), Qt::Key_Backspace);
    QCOMPARE(Lines(WordList()), (QStringList{"8:nice", "9:today"}));
    NumberBox()->setText(QStringLiteral("-3"));
    QVERIFY(Lines(WordList()).isEmpty());
    NumberBox()->setText(QStringLiteral("99999999999"));
    QVERIFY(Lines(WordList()).isEmpty());
  }

  void languageButtonsSwitchTheListAtOnce() {
    Open();
    NumberBox()->setText(QStringLiteral("2"));
    QCOMPARE(Lines(WordList()).first(), QStringLiteral("2:a"));
    Named<QRadioButton>(*window_, "cnRadio")->click();
    QCOMPARE(Lines(WordList()).first(), QStringLiteral("2:一个"));
    Named<QRadioButton>(*window_, "enRadio")->click();
    QCOMPARE(Lines(WordList()).first(), QStringLiteral("2:a"));
  }

  void enterInTheNumberBoxSearchesTheInput() {
    Open();
    Input()->setText(QStringLiteral("weather"));
    NumberBox()->setFocus();
    QTest::keyClick(NumberBox(), Qt::Key_Return);
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"weather"});
  }

  void focusStartsOnSearchAndTabMovesToTheInputBox() {
    Open();
    QCOMPARE(window_->focusWidget(), Button("searchButton"));
    QTest::keyClick(Button("searchButton"), Qt::Key_Tab);
    QCOMPARE(window_->focusWidget(), static_cast<QWidget*>(Input()));
    QVERIFY(!Button("buildButton")->isVisible());  // the Build button stays hidden
  }

  void initialisationSelectsEnAndShowsTheWelcomePage() {
    Open();
    QVERIFY(Named<QRadioButton>(*window_, "enRadio")->isChecked());
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(folder_->Path("data/welcome.html")));
    QCOMPARE(window_->workingDirectory(), folder_->path());
  }

  void startUpGreetingAnsweredNoClearsTheFlag() {
    desktop_->answers = {false};
    Open();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    const ScriptedDesktop::Message& greeting = desktop_->messages.front();
    QVERIFY(greeting.question);
    QCOMPARE(greeting.caption, QStringLiteral("Start Up!"));
    QVERIFY(greeting.text.startsWith(QStringLiteral("Thanks for choosing our software!\n\n")));
    QVERIFY(greeting.text.contains(QString::fromLatin1(tamrel::kProductSite) + QStringLiteral(" \n\nWANT")));
    QVERIFY(!window_->settings().greetAtStart);
    tamrel::SysSettings stored;
    QVERIFY(tamrel::ReadConfig(stored, folder_->path()).ok());
    QVERIFY(!stored.greetAtStart);
    QVERIFY(FileBytes(folder_->Path("data/config.data")).contains("FLAGSTARTUP##FALSE\n"));
  }

  void startUpGreetingAnsweredYesWritesNothing() {
    desktop_->answers = {true};
    Open();
    QVERIFY(window_->settings().greetAtStart);
    QVERIFY(!QFile::exists(folder_->Path("data/config.data")));
    QCOMPARE(desktop_->slept.count(), 0);
  }

  void quietStartPausesInsteadOfGreeting() {
    tamrel::SysSettings quiet;
    quiet.greetAtStart = false;
    QVERIFY(tamrel::WriteConfig(quiet, folder_->path()).ok());
    Open();
    QVERIFY(desktop_->messages.empty());
    QCOMPARE(desktop_->slept.count(), 1000);
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(folder_->Path("data/welcome.html")));
  }

  void missingCorpusShowsTheErrorAndTheOtherStillWorks() {
    QVERIFY(QFile::remove(folder_->Path("data/index1.datMO")));
    Open();
    int errors = 0;
    for (const ScriptedDesktop::Message& message : desktop_->messages) {
      if (message.caption == QStringLiteral("Error!")) {
        ++errors;
        QCOMPARE(message.text, QString::fromLatin1(tamrel::kResourcesError));
        QVERIFY(message.icon == Desktop::Icon::kError);
      }
    }
    QCOMPARE(errors, 1);
    Search(QStringLiteral("friend"));
    QCOMPARE(View()->requestedUrl(), ResultPage());
  }

  void buildCommandRebuildsAndSaysSo() {
    Open();
    desktop_->messages.clear();
    Button("buildButton")->click();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("OK"));
    QCOMPARE(desktop_->messages[0].text, QStringLiteral("Finished MO!"));
    QVERIFY(desktop_->messages[0].icon == Desktop::Icon::kInformation);

    QVERIFY(QFile::remove(folder_->Path("BDict/word.dictBI")));
    desktop_->messages.clear();
    Button("buildButton")->click();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Error!"));
  }

  void systemSettingsSaveIsReadBackCancelIsNot() {
    Open();
    ChangeSettings({"bilingualCheck"}, "cancelButton");
    QVERIFY(window_->settings().searchBilingual);
    ChangeSettings({"bilingualCheck"}, "saveButton");
    QVERIFY(!window_->settings().searchBilingual);
    QVERIFY(window_->settings().searchMonolingual);
  }

  void bothCorporaOffFindNothing() {
    Open();
    ChangeSettings({"bilingualCheck", "monolingualCheck"}, "saveButton");
    Search(QStringLiteral("friend"));
    QVERIFY(window_->history().entries().empty());
  }

  void wordTestOpensFromTheButtonAndTheMenu() {
    Open();
    int wordTests = 0;
    desktop_->onModal = [&wordTests](QDialog& dialog) {
      if (qobject_cast<WordTestDialog*>(&dialog) != nullptr) ++wordTests;
      return static_cast<int>(QDialog::Rejected);
    };
    Button("wordTestButton")->click();
    Action("actionHanziPinyin")->trigger();
    QCOMPARE(wordTests, 2);
  }

  void aboutFromTheHelpMenuAndTheContextMenu() {
    Open();
    int abouts = 0;
    desktop_->onModal = [&abouts](QDialog& dialog) {
      if (qobject_cast<AboutDialog*>(&dialog) != nullptr) ++abouts;
      return static_cast<int>(QDialog::Accepted);
    };
    Action("actionAbout")->trigger();
    QCOMPARE(window_->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction*> entries = window_->actions();
    QCOMPARE(entries.size(), 2);
    QVERIFY(entries[0]->isSeparator());
    QCOMPARE(entries[1]->text(), QStringLiteral("&About Tamrel..."));
    entries[1]->trigger();
    QCOMPARE(abouts, 2);
  }

  void reportABugNamesTheSupportAddress() {
    Open();
    desktop_->messages.clear();
    Action("actionReportBug")->trigger();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Report A Bug!"));
    QCOMPARE(desktop_->messages[0].text,
             QStringLiteral("If you found a bug, please report it to us (") +
                 QString::fromLatin1(tamrel::kSupportEmail) +
                 QStringLiteral(").\n\nWe really appreciate your kind understanding. Thanks a lot.\n\n\t\t\tPellory"));
    QVERIFY(desktop_->messages[0].icon == Desktop::Icon::kInformation);
  }

  void contentsFollowsTheCurrentDirectory() {
    Open();
    const std::filesystem::path other = folder_->path() / "elsewhere";
    std::filesystem::create_directories(other / "data");
    desktop_->currentDirectory = other;
    Action("actionContents")->trigger();
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(QString::fromStdString((other / "data/Help.html").string())));
    QCOMPARE(window_->workingDirectory(), other);
    Search(QStringLiteral("friend"));  // the result page keeps the directory of the start
    QCOMPARE(View()->requestedUrl(), ResultPage());
  }

  void contentsKeepsTheFolderWhenTheCurrentDirectoryCannotBeRead() {
    Open();
    desktop_->currentDirectory = std::filesystem::path();
    Action("actionContents")->trigger();
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(folder_->Path("data/Help.html")));
    QCOMPARE(window_->workingDirectory(), folder_->path());
  }

  // A working directory longer than a path buffer of 260 characters is kept whole, and so are the
  // page paths made from it.
  void longWorkingDirectoryIsKeptWhole() {
    std::filesystem::path deep = folder_->path();
    while (deep.string().size() < 300) deep /= "a-rather-long-folder-name";
    std::filesystem::create_directories(deep / "data");
    for (const char* file : {"index1.datBI", "index11.datBI", "index2.datBI", "index21.datBI", "index1.datMO",
                             "index11.datMO", "index2.datMO", "index21.datMO"}) {
      std::filesystem::copy_file(folder_->path() / "data" / file, deep / "data" / file);
    }
    desktop_->currentDirectory = deep;
    Open();
    Search(QStringLiteral("friend"));
    QCOMPARE(window_->workingDirectory(), deep);
    const QString page = QString::fromStdString((deep / "data/displayResult.html").string());
    QVERIFY(QFile::exists(page));
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(page));
  }

  // A dialog's Escape rejects it, which for this window would end the program and lose the
  // history; the main window's Escape empties the search box instead.
  void escapeEmptiesTheSearchBoxAndKeepsTheWindowOpen() {
    Open();
    Search(QStringLiteral("friend"));
    QTest::keyClicks(Input(), QStringLiteral("weather"));
    QTest::keyClick(Input(), Qt::Key_Escape);
    QVERIFY(window_->isVisible());
    QCOMPARE(Input()->text(), QString());
    QTest::keyClick(Input(), Qt::Key_Escape);  // an empty box: nothing happens
    QTest::keyClick(Button("searchButton"), Qt::Key_Escape);
    QVERIFY(window_->isVisible());
    QCOMPARE(window_->focusWidget(), static_cast<QWidget*>(Input()));
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"friend"});
  }

  // A page's link to tamrel:search?text=... searches its text (UTF-8, percent-encoded) as if it
  // were typed; other links are followed as always.
  void searchLinksSearchTheirText() {
    Open();
    tamrel::test::WriteBytes(folder_->path() / "data" / "links.html",
                             "<html><body><a id=\"chinese\" href=\"tamrel:search?text=%E5%A4%A9%E6%B0%94\">天气</a> "
                             "<a id=\"english\" href=\"tamrel:search?text=%20have%20a%20friend\">have a friend</a> "
                             "<a id=\"marks\" href=\"tamrel:search?text=%2B1%20%26%20more\">+1 &amp; more</a> "
                             "<a id=\"blank\" href=\"tamrel:search?text=%20\">nothing</a> "
                             "<a id=\"plain\" href=\"welcome.html\">welcome</a></body></html>");
    const QString links = folder_->Path("data/links.html");
    const auto show = [&] {
      QSignalSpy shown(View(), &ResultView::pageShown);
      View()->navigate(links);
      return shown.wait(20000);
    };
    // The page shown signal of the result page a search opened may come after the links page was
    // asked for: the link is clicked once the links page holds it.
    const auto click = [&](const char* id) {
      const QString link = QStringLiteral("document.getElementById('%1')").arg(QLatin1String(id));
      QTRY_VERIFY_WITH_TIMEOUT(RunScript(*View(), link + QStringLiteral(" !== null")).toBool(), 20000);
      RunScript(*View(), link + QStringLiteral(".click()"));
    };
    QVERIFY(show());
    click("chinese");
    QTRY_COMPARE_WITH_TIMEOUT(Input()->text(), QStringLiteral("天气"), 10000);
    QCOMPARE(window_->history().entries(), std::vector<std::u16string>{u"天气"});
    QCOMPARE(View()->requestedUrl(), ResultPage());

    QVERIFY(show());
    click("english");
    QTRY_COMPARE_WITH_TIMEOUT(Input()->text(), QStringLiteral("have a friend"), 10000);
    QCOMPARE(View()->requestedUrl(), ResultPage());
    QCOMPARE(window_->history().entries().size(), size_t{2});

    QVERIFY(show());
    click("marks");
    QTRY_COMPARE_WITH_TIMEOUT(Input()->text(), QStringLiteral("+1 & more"), 10000);
    QCOMPARE(View()->requestedUrl(), QUrl::fromLocalFile(folder_->Path("data/notFound.html")));  // searched

    QVERIFY(show());
    click("blank");  // nothing to search: the page stays
    click("plain");
    QTRY_COMPARE_WITH_TIMEOUT(View()->url(), QUrl::fromLocalFile(folder_->Path("data/welcome.html")), 10000);
    QCOMPARE(Input()->text(), QStringLiteral("+1 & more"));
    QCOMPARE(window_->history().entries().size(), size_t{2});
  }

  void exitClosesWithOk() {
    Open();
    Action("actionExit")->trigger();
    QCOMPARE(window_->result(), static_cast<int>(QDialog::Accepted));
    QVERIFY(!window_->isVisible());
  }
};

TAMREL_WINDOW_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
