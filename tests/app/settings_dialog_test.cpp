#include "app/settings_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "settings/learner_options.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"
#include "tests/support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string ConfigText(const char* pron, const char* bi, const char* mono, const char* startup) {
  return kBom + "FIRST\nFLAGPRON##" + pron + "\nFLAGBI##" + bi + "\nFLAGMONO##" + mono + "\nFLAGSTARTUP##" + startup +
         "\n";
}

}  // namespace

using tamrel::SettingsDialog;
using tamrel::test::Named;
using tamrel::test::ScriptedDesktop;

class SettingsDialogTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private:
  static QCheckBox* Box(SettingsDialog& dialog, const QString& name) { return Named<QCheckBox>(dialog, name); }
  static QPushButton* Button(SettingsDialog& dialog, const QString& name) { return Named<QPushButton>(dialog, name); }
  std::string Config() const { return tamrel::test::ReadBytes(*folder_ / "data/config.data"); }

 private slots:
  void init() { QVERIFY(SetUp(tamrel::test::Corpora::kNone)); }
  void cleanup() { TearDown(); }

  // The boxes show the file; without one, every box is checked.
  void boxesShowTheFile_data() {
    QTest::addColumn<QByteArray>("file");  // empty: no file
    QTest::addColumn<bool>("pronunciation");
    QTest::addColumn<bool>("bilingual");
    QTest::addColumn<bool>("monolingual");
    QTest::newRow("no file") << QByteArray() << true << true << true;
    QTest::newRow("FALSE TRUE FALSE") << QByteArray::fromStdString(ConfigText("FALSE", "TRUE", "FALSE", "TRUE"))
                                      << false << true << false;
    QTest::newRow("TRUE FALSE TRUE") << QByteArray::fromStdString(ConfigText("TRUE", "FALSE", "TRUE", "FALSE")) << true
                                     << false << true;
  }
  void boxesShowTheFile() {
    QFETCH(QByteArray, file);
    QFETCH(bool, pronunciation);
    QFETCH(bool, bilingual);
    QFETCH(bool, monolingual);
    if (!file.isEmpty()) tamrel::test::WriteBytes(*folder_ / "data/config.data", file.toStdString());
    SettingsDialog dialog(*desktop_, folder_->path());
    QCOMPARE(Box(dialog, "pronunciationCheck")->isChecked(), pronunciation);
    QCOMPARE(Box(dialog, "bilingualCheck")->isChecked(), bilingual);
    QCOMPARE(Box(dialog, "monolingualCheck")->isChecked(), monolingual);
  }

  void saveWritesTheBoxesAndKeepsTheStartUpOption() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", ConfigText("TRUE", "TRUE", "TRUE", "FALSE"));
    SettingsDialog dialog(*desktop_, folder_->path());
    Box(dialog, "bilingualCheck")->setChecked(false);
    Box(dialog, "monolingualCheck")->setChecked(false);
    Button(dialog, "saveButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(Config(), ConfigText("TRUE", "FALSE", "FALSE", "FALSE"));
  }

  void saveWithoutChangesRewritesTheExactForm() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", "FLAGBI##TRUE\r\nFLAGPRON##FALSE\r\n");
    SettingsDialog dialog(*desktop_, folder_->path());
    Button(dialog, "saveButton")->click();
    QCOMPARE(Config(), ConfigText("FALSE", "TRUE", "TRUE", "TRUE"));
  }

  void cancelWritesNothing() {
    const std::string before = ConfigText("TRUE", "FALSE", "TRUE", "TRUE");
    tamrel::test::WriteBytes(*folder_ / "data/config.data", before);
    SettingsDialog dialog(*desktop_, folder_->path());
    Box(dialog, "pronunciationCheck")->setChecked(false);
    Box(dialog, "bilingualCheck")->setChecked(true);
    Button(dialog, "cancelButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(Config(), before);
  }

  void enterSavesEscapeCancels() {
    {
      SettingsDialog dialog(*desktop_, folder_->path());
      dialog.show();
      Box(dialog, "pronunciationCheck")->setChecked(false);
      Box(dialog, "monolingualCheck")->setFocus();
      QTest::keyClick(&dialog, Qt::Key_Escape);
      QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
      QVERIFY(!std::filesystem::exists(*folder_ / "data/config.data"));
    }
    SettingsDialog dialog(*desktop_, folder_->path());
    dialog.show();
    Box(dialog, "pronunciationCheck")->setChecked(false);
    Box(dialog, "monolingualCheck")->setFocus();
    QTest::keyClick(Box(dialog, "monolingualCheck"), Qt::Key_Return);
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(Config(), ConfigText("FALSE", "TRUE", "TRUE", "TRUE"));
  }

  // Tone colours live in data/options.json: the box starts off, its file is written only when the
  // option changes, and config.data keeps its exact bytes.
  void toneColoursGoToTheirOwnFile() {
    const std::string config = ConfigText("TRUE", "TRUE", "TRUE", "FALSE");
    tamrel::test::WriteBytes(*folder_ / "data/config.data", config);
    {
      SettingsDialog dialog(*desktop_, folder_->path());
      QVERIFY(!Box(dialog, "toneColoursCheck")->isChecked());
      Button(dialog, "saveButton")->click();
      QVERIFY(!std::filesystem::exists(*folder_ / "data/options.json"));
    }
    {
      SettingsDialog dialog(*desktop_, folder_->path());
      Box(dialog, "toneColoursCheck")->setChecked(true);
      Button(dialog, "saveButton")->click();
    }
    QCOMPARE(Config(), config);
    tamrel::LearnerOptions options;
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QVERIFY(options.toneColours);
    SettingsDialog dialog(*desktop_, folder_->path());
    QVERIFY(Box(dialog, "toneColoursCheck")->isChecked());
    Box(dialog, "toneColoursCheck")->setChecked(false);
    Button(dialog, "cancelButton")->click();
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QVERIFY(options.toneColours);
  }

  // A settings file that cannot be written (a folder stands in its place: no permission stops
  // root) is named with the reason, and the dialog stays open with the box as it was set; once
  // the file can be written, Save writes that choice.
  void failedSaveSaysWhyAndKeepsTheChoice_data() {
    QTest::addColumn<QString>("blocked");  // the file a folder stands in for
    QTest::addColumn<QString>("box");      // the box whose setting goes to that file
    QTest::newRow("config.data") << QStringLiteral("data/config.data") << QStringLiteral("bilingualCheck");
    QTest::newRow("options.json") << QStringLiteral("data/options.json") << QStringLiteral("toneColoursCheck");
  }
  void failedSaveSaysWhyAndKeepsTheChoice() {
    QFETCH(QString, blocked);
    QFETCH(QString, box);
    const std::filesystem::path file = *folder_ / blocked.toStdString();
    std::filesystem::create_directories(file);
    SettingsDialog dialog(*desktop_, folder_->path());
    dialog.show();
    const bool chosen = !Box(dialog, box)->isChecked();
    Box(dialog, box)->setChecked(chosen);
    Button(dialog, "saveButton")->click();
    QCOMPARE(desktop_->messages.size(), size_t{1});
    const ScriptedDesktop::Message& message = desktop_->messages[0];
    QCOMPARE(message.caption, QStringLiteral("Settings Not Saved"));
    QVERIFY(message.icon == tamrel::Desktop::Icon::kError);
    QVERIFY2(message.text.startsWith(QStringLiteral("The settings could not be saved.\n") +
                                     QString::fromStdString(file.string()) + QStringLiteral(": ")),
             qPrintable(message.text));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QCOMPARE(Box(dialog, box)->isChecked(), chosen);

    std::filesystem::remove(file);
    Button(dialog, "saveButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(desktop_->messages.size(), size_t{1});
    SettingsDialog reopened(*desktop_, folder_->path());
    QCOMPARE(Box(reopened, box)->isChecked(), chosen);
  }

  void tabVisitsSaveCancelAndTheBoxesInTurn() {
    SettingsDialog dialog(*desktop_, folder_->path());
    dialog.show();
    const std::vector<QWidget*> stops = {Button(dialog, "saveButton"),      Button(dialog, "cancelButton"),
                                         Box(dialog, "pronunciationCheck"), Box(dialog, "monolingualCheck"),
                                         Box(dialog, "bilingualCheck"),     Box(dialog, "toneColoursCheck"),
                                         Button(dialog, "saveButton")};
    stops.front()->setFocus();
    for (size_t i = 1; i < stops.size(); ++i) {
      QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
      QCOMPARE(dialog.focusWidget(), stops[i]);
    }
  }
};

TAMREL_WINDOW_TEST_MAIN(SettingsDialogTest)
#include "settings_dialog_test.moc"
