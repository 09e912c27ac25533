#include "app/word_test_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "app/qt_text.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"
#include "tests/support/corpus_writer.h"
#include "tests/support/test_support.h"

namespace {

using tamrel::test::Named;

QString Text(QWidget& dialog, const char* name) { return Named<QLabel>(dialog, name)->text(); }

// The radio button and the label of answer `index` (0: A).
QString ChoiceRadio(int index) { return QStringLiteral("choice%1Radio").arg(QChar(u'A' + index)); }
QString ChoiceLabel(int index) { return QStringLiteral("choice%1Label").arg(QChar(u'A' + index)); }

// Words 词0..词<count-1>, each in a sentence of four tokens, in the runtime folder `root`.
tamrel::Status WriteWordCorpus(const std::filesystem::path& root, int count) {
  std::vector<tamrel::test::SentenceGroup> groups;
  std::vector<std::string> order;
  for (int k = 0; k < count; ++k) {
    const std::string n = std::to_string(k);
    groups.push_back({"词" + n + " 了 吗 呢", "cí" + n + "a le ma ne", "Word " + n + "."});
    order.push_back("词" + n);
  }
  return tamrel::test::WriteCorpus(root, u"BI", groups, order);
}

}  // namespace

using tamrel::ToQString;
using tamrel::WordTestDialog;
using tamrel::test::ScriptedDesktop;

class WordTestDialogTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  std::unique_ptr<tamrel::CorpusIndex> corpus_;
  std::unique_ptr<WordTestDialog> dialog_;

  WordTestDialog& Open(int words = 300) {
    const tamrel::Status built =
        words > 0 ? WriteWordCorpus(folder_->path(), words)
                  : tamrel::test::WriteCorpus(folder_->path(), u"BI", {{"好 1 2", "hǎo 1 2", "Three tokens."}});
    if (!built.ok()) qFatal("the test corpus could not be built");
    corpus_ = std::make_unique<tamrel::CorpusIndex>(folder_->path(), u"BI");
    if (!tamrel::LoadCorpus(*corpus_).ok()) qFatal("the test corpus could not be loaded");
    dialog_ = std::make_unique<WordTestDialog>(*corpus_, *desktop_);
    dialog_->show();
    return *dialog_;
  }
  bool CheckEnabled() { return Named<QPushButton>(*dialog_, "checkButton")->isEnabled(); }
  bool NextEnabled() { return Named<QPushButton>(*dialog_, "nextButton")->isEnabled(); }
  void Next() { Named<QPushButton>(*dialog_, "nextButton")->click(); }
  void CheckAnswer() { Named<QPushButton>(*dialog_, "checkButton")->click(); }
  void Choose(int index) { Named<QRadioButton>(*dialog_, ChoiceRadio(index))->setChecked(true); }
  // Presses `key` where the keyboard is: the dialog's focus widget, or the dialog without one.
  void Press(Qt::Key key) {
    QWidget* focus = dialog_->focusWidget();
    QTest::keyClick(focus != nullptr ? focus : dialog_.get(), key);
  }

 private slots:
  void init() {
    QVERIFY(SetUp(tamrel::test::Corpora::kNone));
    desktop_->tick = 4711;
  }
  void cleanup() {
    dialog_.reset();
    corpus_.reset();
    TearDown();
  }

  // The example's question, the first level, direction and choice selected, and the engine's
  // right answer is the choice that reads 猫.
  void opensOnTheWorkedExample() {
    WordTestDialog& dialog = Open();
    QCOMPARE(Text(dialog, "questionLabel"), QStringLiteral("Example: 这是 [_猫_] 。"));
    QCOMPARE(Named<QLabel>(dialog, ChoiceLabel(dialog.engine().answerIndex()))->text(), QStringLiteral("mao"));
    QVERIFY(Named<QRadioButton>(dialog, "beginnerRadio")->isChecked());
    QVERIFY(Named<QRadioButton>(dialog, "hanziToPinyinRadio")->isChecked());
    QVERIFY(Named<QRadioButton>(dialog, "choiceARadio")->isChecked());
    QVERIFY(CheckEnabled());
    QVERIFY(NextEnabled());
  }

  void checkingTheExampleAtOnceIsRight() {
    WordTestDialog& dialog = Open();
    CheckAnswer();
    QCOMPARE(Text(dialog, "rightLetterLabel"), QStringLiteral("A"));
    QCOMPARE(Text(dialog, "verdictLabel"), QStringLiteral("Correct!! :-)"));
    QCOMPARE(Text(dialog, "countsLabel"), QStringLiteral("1/1"));
    QCOMPARE(Text(dialog, "percentageLabel"), QStringLiteral("100.00"));
    QCOMPARE(Named<QSlider>(dialog, "scoreMeter")->maximum(), 10);
    QCOMPARE(Named<QSlider>(dialog, "scoreMeter")->value(), 10);
    QVERIFY(!CheckEnabled());  // Scored
    QVERIFY(NextEnabled());
  }

  void nextBeforeCheckingLeavesTheScore() {
    WordTestDialog& dialog = Open();
    Next();
    QVERIFY(CheckEnabled());  // Asked
    QVERIFY(!NextEnabled());
    QCOMPARE(Text(dialog, "countsLabel"), QStringLiteral("0/0"));
    QCOMPARE(Text(dialog, "percentageLabel"), QStringLiteral("100"));
    QCOMPARE(Text(dialog, "rightLetterLabel"), QStringLiteral("?"));
    QCOMPARE(Text(dialog, "verdictLabel"), QStringLiteral("?"));
    QCOMPARE(Named<QSlider>(dialog, "levelMeter")->maximum(), 2);
    QCOMPARE(Named<QSlider>(dialog, "levelMeter")->value(), 0);
    // Level 0: the word alone, no sentence line.
    QVERIFY(Text(dialog, "questionLabel").startsWith(QStringLiteral("词")));
    QCOMPARE(Text(dialog, "sentenceLabel"), QString());
  }

  void exampleAskedScoredAskedScored() {
    WordTestDialog& dialog = Open();
    CheckAnswer();
    Next();
    QVERIFY(CheckEnabled());
    QVERIFY(!NextEnabled());
    const int right = dialog.engine().answerIndex();
    QCOMPARE(Named<QLabel>(dialog, ChoiceLabel(right))->text(),
             Text(dialog, "questionLabel").replace("词", "cí") + "a");
    Choose(right);
    CheckAnswer();
    QCOMPARE(Text(dialog, "verdictLabel"), QStringLiteral("Correct!! :-)"));
    QCOMPARE(Text(dialog, "countsLabel"), QStringLiteral("2/2"));
    QVERIFY(!CheckEnabled());
    QVERIFY(NextEnabled());
    Next();
    Choose((dialog.engine().answerIndex() + 1) % 4);
    CheckAnswer();
    QCOMPARE(Text(dialog, "verdictLabel"), QStringLiteral("Wrong!!!! :-("));
    QCOMPARE(Text(dialog, "countsLabel"), QStringLiteral("2/3"));
    QCOMPARE(Text(dialog, "percentageLabel"), QStringLiteral("66.67"));
    QCOMPARE(Named<QSlider>(dialog, "scoreMeter")->value(), 6);
  }

  void normalLevelShowsTheLinesAndMovesTheMeter() {
    WordTestDialog& dialog = Open();
    Named<QRadioButton>(dialog, "normalRadio")->setChecked(true);
    Next();
    QCOMPARE(Named<QSlider>(dialog, "levelMeter")->value(), 1);
    QVERIFY(Text(dialog, "questionLabel").startsWith(QStringLiteral("[_词")));
    QVERIFY(Text(dialog, "questionLabel").endsWith(QStringLiteral("_] 了 吗 呢 ")));
    QVERIFY(Text(dialog, "sentenceLabel").endsWith(QStringLiteral("_] le ma ne ")));
  }

  void noQuestionSaysSoAndKeepsNext() {
    WordTestDialog& dialog = Open(0);
    Next();
    QCOMPARE(Text(dialog, "questionLabel"), ToQString(tamrel::kNoQuestionText));
    QVERIFY(!CheckEnabled());
    QVERIFY(NextEnabled());
  }

  void endAsksBeforeClosing() {
    WordTestDialog& dialog = Open();
    desktop_->answers = {false, true};
    Named<QPushButton>(dialog, "endButton")->click();
    QVERIFY(dialog.isVisible());
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("End?"));
    QCOMPARE(desktop_->messages[0].text, QStringLiteral("Do you want to end the test?"));
    QVERIFY(desktop_->messages[0].question);
    Named<QPushButton>(dialog, "endButton")->click();
    QCOMPARE(desktop_->messages.size(), size_t{2});
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
  }

  // Enter never presses "End?" to ask about ending the test in its middle: it checks the open
  // question, and once it is scored goes on to the next one.
  void enterChecksTheQuestionThenGoesToTheNext() {
    WordTestDialog& dialog = Open();
    Press(Qt::Key_Return);
    QCOMPARE(Text(dialog, "countsLabel"), QStringLiteral("1/1"));  // the example, checked
    QVERIFY(!CheckEnabled());
    Press(Qt::Key_Return);
    QVERIFY(CheckEnabled());  // the next question
    QVERIFY(Text(dialog, "questionLabel").startsWith(QStringLiteral("词")));
    Named<QRadioButton>(dialog, ChoiceRadio(dialog.engine().answerIndex()))->setFocus();
    Choose(dialog.engine().answerIndex());
    Press(Qt::Key_Enter);
    QCOMPARE(Text(dialog, "verdictLabel"), QStringLiteral("Correct!! :-)"));
    QCOMPARE(Text(dialog, "countsLabel"), QStringLiteral("2/2"));
    // Not even with the focus on it does Enter press "End?".
    Named<QPushButton>(dialog, "endButton")->setFocus();
    QTest::keyClick(Named<QPushButton>(dialog, "endButton"), Qt::Key_Return);
    QVERIFY(CheckEnabled());  // Next was pressed
    QVERIFY(desktop_->messages.empty());
    QVERIFY(dialog.isVisible());
  }

  // The answer chosen for one question says nothing about the next: each starts with none chosen.
  void eachQuestionStartsWithNoAnswerChosen() {
    WordTestDialog& dialog = Open();
    Choose(2);
    CheckAnswer();
    Next();
    for (int i = 0; i < 4; ++i) QVERIFY(!Named<QRadioButton>(dialog, ChoiceRadio(i))->isChecked());
    Choose(1);
    Choose(3);  // still one answer at a time
    QVERIFY(!Named<QRadioButton>(dialog, "choiceBRadio")->isChecked());
    QVERIFY(Named<QRadioButton>(dialog, "choiceDRadio")->isChecked());
    CheckAnswer();
    Next();
    for (int i = 0; i < 4; ++i) QVERIFY(!Named<QRadioButton>(dialog, ChoiceRadio(i))->isChecked());
  }

  void escapeClosesWithoutAsking() {
    WordTestDialog& dialog = Open();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(desktop_->messages.empty());
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
  }
};

TAMREL_WINDOW_TEST_MAIN(WordTestDialogTest)
#include "word_test_dialog_test.moc"
