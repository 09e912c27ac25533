// File > Import Sentences... end to end: the dialog with a scripted file choice, the import on
// its worker thread, the reload, a search that finds the new sentences; Cancel and a refused file
// leave the previous corpus and say why.
#include "app/import_dialog.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cerrno>
#include <filesystem>

#include "app/import_run.h"
#include "app/main_window.h"
#include "corpus/corpus_files.h"
#include "files/fault_injection.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"

using tamrel::Desktop;
using tamrel::ImportDialog;
using tamrel::MainWindow;
using tamrel::test::Named;
using tamrel::test::ReadBytes;
using tamrel::test::ScriptedDesktop;
using tamrel::test::WriteBytes;

namespace {

// What the dialog is to be given: which corpus, replace or append.
struct Choice {
  bool monolingual = false;
  bool append = false;
};

}  // namespace

class ImportDialogTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  // Scripts the dialog: Add Files picks `files`, the choice is made and Import pressed.
  void ScriptDialog(const QStringList& files, Choice choice = {}) {
    desktop_->chosenFiles = files;
    desktop_->onModal = [choice](QDialog& dialog) {
      if (qobject_cast<ImportDialog*>(&dialog) == nullptr) return static_cast<int>(QDialog::Rejected);
      Named<QPushButton>(dialog, "addFilesButton")->click();
      Named<QRadioButton>(dialog, choice.monolingual ? "monolingualRadio" : "bilingualRadio")->setChecked(true);
      Named<QRadioButton>(dialog, choice.append ? "appendRadio" : "replaceRadio")->setChecked(true);
      Named<QPushButton>(dialog, "importButton")->click();
      return dialog.result();
    };
  }
  void TriggerImport() { Action("actionImport")->trigger(); }
  // Searches `text`; the English lines the history and the page show are not read back here,
  // only whether the search found something (it then enters the history).
  bool Found(const QString& text) {
    const size_t before = window_->history().entries().size();
    Search(text);
    return window_->history().entries().size() > before;
  }
  QString WriteFile(const std::string& name, const std::string& bytes) {
    WriteBytes(folder_->path() / name, bytes);
    return folder_->Path(name);
  }
  std::string Sentences(const char* tag = "BI") const {
    return ReadBytes(folder_->path() / "BDict" / (std::string("sents.final") + tag));
  }
  const ScriptedDesktop::Message& LastMessage() const { return desktop_->messages.back(); }

 private slots:
  void init() {
    QVERIFY(SetUp());
    Open();
    desktop_->messages.clear();  // the greeting
  }
  void cleanup() { TearDown(); }

  void importReplacesTheCorpusAndTheNewSentencesAreFoundAtOnce() {
    QVERIFY(Found(QStringLiteral("friend")));
    ScriptDialog({WriteFile("pairs.tsv", "The zebra runs.\t斑马跑。\tCC-BY\nA red apple.\t红苹果。\tCC-BY\n")});
    TriggerImport();
    QVERIFY(window_->importRun() != nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(window_->importRun() == nullptr, 30000);
    QCOMPARE(desktop_->fileChoices, 1);
    QCOMPARE(desktop_->messages.size(), size_t{2});
    QVERIFY(desktop_->messages[0].question);  // Yes to the replacement
    QCOMPARE(LastMessage().caption, QStringLiteral("Import Finished"));
    QVERIFY(LastMessage().text.startsWith(QStringLiteral("Imported 2 sentences into the bilingual corpus.")));
    QVERIFY(LastMessage().icon == Desktop::Icon::kInformation);
    QVERIFY(Found(QStringLiteral("zebra")));
    QVERIFY(Found(QStringLiteral("红")));        // a word of its own, as the real language tools cut it
    QVERIFY(!Found(QStringLiteral("weather")));  // the bilingual sentences were replaced
    QVERIFY(Found(QStringLiteral("friends")));   // the monolingual corpus is as it was
  }

  // Adding to the corpus is the dialog's choice. Replace asks first, naming the groups that would
  // go, and a No leaves the dialog open for another choice.
  void replaceAsksFirstAndNoReturnsToTheDialog() {
    const std::string before = Sentences();
    desktop_->chosenFiles = {WriteFile("pairs.tsv", "The zebra runs.\t斑马跑。\n")};
    desktop_->answers = {false};
    bool appendWasTheChoice = false;
    int resultAfterNo = -1;
    desktop_->onModal = [&](QDialog& dialog) {
      Named<QPushButton>(dialog, "addFilesButton")->click();
      appendWasTheChoice = Named<QRadioButton>(dialog, "appendRadio")->isChecked();
      Named<QRadioButton>(dialog, "replaceRadio")->setChecked(true);
      Named<QPushButton>(dialog, "importButton")->click();  // No
      resultAfterNo = dialog.result();
      Named<QRadioButton>(dialog, "appendRadio")->setChecked(true);
      Named<QPushButton>(dialog, "importButton")->click();  // no question
      return dialog.result();
    };
    TriggerImport();
    QTRY_VERIFY_WITH_TIMEOUT(window_->importRun() == nullptr, 30000);
    QVERIFY(appendWasTheChoice);
    QCOMPARE(resultAfterNo, static_cast<int>(QDialog::Rejected));
    QCOMPARE(desktop_->messages.size(), size_t{2});
    QVERIFY(desktop_->messages[0].question);
    QCOMPARE(desktop_->messages[0].caption, QStringLiteral("Replace Sentences?"));
    QCOMPARE(desktop_->messages[0].text, QStringLiteral("Replace the bilingual corpus? Its 3 sentence groups will be "
                                                        "removed and replaced by the imported sentences."));
    QVERIFY(LastMessage().text.contains(QStringLiteral("after its 3 sentences")));
    QVERIFY(Sentences().starts_with(before));
    QVERIFY(Found(QStringLiteral("zebra")));
    QVERIFY(Found(QStringLiteral("weather")));
  }

  void replaceNoCancelsTheImport() {
    const std::string before = Sentences();
    desktop_->answers = {false};
    ScriptDialog({WriteFile("pairs.tsv", "The zebra runs.\t斑马跑。\n")}, {.monolingual = true});
    TriggerImport();
    QVERIFY(window_->importRun() == nullptr);
    QCOMPARE(desktop_->messages.size(), size_t{1});
    QCOMPARE(desktop_->messages[0].text, QStringLiteral("Replace the monolingual corpus? Its 2 sentence groups will "
                                                        "be removed and replaced by the imported sentences."));
    QCOMPARE(Sentences(), before);
    QVERIFY(!Found(QStringLiteral("zebra")));
  }

  void replaceQuestionNamesTheGroupsInThousands() {
    QCOMPARE(tamrel::ReplaceCorpusQuestion(QStringLiteral("bilingual"), 8067),
             QStringLiteral("Replace the bilingual corpus? Its 8,067 sentence groups will be removed and replaced by "
                            "the imported sentences."));
    QCOMPARE(tamrel::ReplaceCorpusQuestion(QStringLiteral("monolingual"), 1),
             QStringLiteral("Replace the monolingual corpus? Its 1 sentence group will be removed and replaced by "
                            "the imported sentences."));
    QCOMPARE(tamrel::ReplaceCorpusQuestion(QStringLiteral("bilingual"), 0),
             QStringLiteral("Replace the bilingual corpus? Its sentences will be removed and replaced by the "
                            "imported sentences."));
  }

  void appendKeepsTheSentencesOfTheCorpus() {
    ScriptDialog({WriteFile("plain.txt", "The zebra runs.\n斑马跑。\n")}, {.monolingual = true, .append = true});
    TriggerImport();
    QTRY_VERIFY_WITH_TIMEOUT(window_->importRun() == nullptr, 30000);
    QCOMPARE(LastMessage().caption, QStringLiteral("Import Finished"));
    QVERIFY(LastMessage().text.contains(QStringLiteral("after its 2 sentences")));
    QVERIFY(Sentences("MO").ends_with("\n\n\nThe zebra runs.\n斑马 跑 。\nbānmǎ pǎo 。\n\n"));
    QVERIFY(Found(QStringLiteral("zebra")));
    QVERIFY(Found(QStringLiteral("cold")));
  }

  void cancelLeavesThePreviousCorpusAndSaysSo() {
    const std::string before = Sentences();
    ScriptDialog({WriteFile("pairs.tsv", "The zebra runs.\t斑马跑。\n")});
    TriggerImport();
    // Cancel before the event loop runs again: the worker has not begun.
    QProgressDialog& progress = window_->importRun()->progressDialog();
    QVERIFY(progress.isVisible());
    progress.findChild<QPushButton*>()->click();
    QTRY_VERIFY_WITH_TIMEOUT(window_->importRun() == nullptr, 30000);
    QCOMPARE(LastMessage().caption, QStringLiteral("Import Cancelled"));
    QCOMPARE(LastMessage().text, QStringLiteral("The import was cancelled. The corpus was not changed."));
    QCOMPARE(Sentences(), before);
    QVERIFY(!Found(QStringLiteral("zebra")));
    QVERIFY(Found(QStringLiteral("weather")));
  }

  void refusedFileNamesItAndLeavesTheCorpus() {
    const std::string before = Sentences();
    const QString empty = WriteFile("empty.tsv", "");
    ScriptDialog({WriteFile("pairs.tsv", "The zebra runs.\t斑马跑。\n"), empty});
    TriggerImport();
    QTRY_VERIFY_WITH_TIMEOUT(window_->importRun() == nullptr, 30000);
    QCOMPARE(LastMessage().caption, QStringLiteral("Import Failed"));
    QVERIFY(LastMessage().icon == Desktop::Icon::kError);
    QVERIFY(LastMessage().text.startsWith(empty + QStringLiteral(": is empty")));
    QVERIFY(LastMessage().text.contains(QStringLiteral("The corpus was not changed.")));
    QCOMPARE(Sentences(), before);
    QVERIFY(Found(QStringLiteral("weather")));
  }

  // A step after the commit record that fails twice (the commit and its second try): the import
  // has taken effect and the message says so; the reload finishes the commit and the new
  // sentences are found.
  void failureAfterTheCommitRecordSaysTheImportTookEffect() {
    const std::filesystem::path wordTable = folder_->path() / "data/index1.datBI";
    tamrel::InjectFileFault(tamrel::FileOperation::kRename, wordTable, EIO, 2);
    ScriptDialog({WriteFile("pairs.tsv", "The zebra runs.\t斑马跑。\n")}, {.append = true});
    TriggerImport();
    QTRY_VERIFY_WITH_TIMEOUT(window_->importRun() == nullptr, 30000);
    tamrel::ClearFileFaults();
    QCOMPARE(LastMessage().caption, QStringLiteral("Import Finished"));
    QVERIFY(LastMessage().icon == Desktop::Icon::kError);
    QVERIFY(LastMessage().text.startsWith(QStringLiteral("Imported 1 sentences into the bilingual corpus")));
    QVERIFY(LastMessage().text.endsWith(
        QStringLiteral("The import has taken effect, but putting its files in place could not be finished: ") +
        QString::fromStdString(wordTable.string()) +
        QStringLiteral(": cannot be replaced: Input/output error. It will be finished the next time Tamrel opens "
                       "the corpus.")));
    QVERIFY(!std::filesystem::exists(folder_->path() / "data/commit.datBI"));
    QVERIFY(Found(QStringLiteral("zebra")));
    QVERIFY(Found(QStringLiteral("weather")));
  }

  void dialogCancelOrNoFileImportsNothing() {
    desktop_->onModal = [](QDialog& dialog) {
      QPushButton* import = Named<QPushButton>(dialog, "importButton");
      if (import->isEnabled()) return static_cast<int>(QDialog::Accepted);  // must not be: no file yet
      Named<QPushButton>(dialog, "cancelButton")->click();
      return dialog.result();
    };
    TriggerImport();
    QVERIFY(window_->importRun() == nullptr);
    QVERIFY(desktop_->messages.empty());
  }

  void dialogListsEachFileOnceAndRemovesSelected() {
    ImportDialog dialog(*desktop_, {});
    desktop_->chosenFiles = {QStringLiteral("/a.tsv"), QStringLiteral("/b.tsv")};
    Named<QPushButton>(dialog, "addFilesButton")->click();
    Named<QPushButton>(dialog, "addFilesButton")->click();
    QListWidget* list = Named<QListWidget>(dialog, "fileList");
    QCOMPARE(list->count(), 2);
    QVERIFY(!Named<QPushButton>(dialog, "removeFilesButton")->isEnabled());
    list->item(0)->setSelected(true);
    Named<QPushButton>(dialog, "removeFilesButton")->click();
    QCOMPARE(dialog.files(), std::vector<std::filesystem::path>{"/b.tsv"});
    QCOMPARE(dialog.tag(), std::u16string(u"BI"));
    QVERIFY(dialog.append());  // adding to the corpus is the choice until Replace is picked
  }
};

TAMREL_WINDOW_TEST_MAIN(ImportDialogTest)
#include "import_dialog_test.moc"
