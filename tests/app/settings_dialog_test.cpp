#include "app/settings_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "settings/learner_options.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string ConfigText(const char* pron, const char* bi, const char* mono, const char* startup) {
  return kBom + "FIRST\nFLAGPRON##" + pron + "\nFLAGBI##" + bi + "\nFLAGMONO##" + mono + "\nFLAGSTARTUP##" + startup +
         "\n";
}

}  // namespace

using tamrel::SettingsDialog;
using tamrel::test::ScriptedDesktop;

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<tamrel::test::RuntimeFolder> folder_;
  ScriptedDesktop desktop_;

  static QCheckBox* Box(SettingsDialog& dialog, const char* name) { return dialog.findChild<QCheckBox*>(name); }
  static QPushButton* Button(SettingsDialog& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }
  std::string Config() const { return tamrel::test::ReadBytes(*folder_ / "data/config.data"); }

 private slots:
  void init() {
    folder_ = std::make_unique<tamrel::test::RuntimeFolder>();
    desktop_ = ScriptedDesktop();
  }
  void cleanup() { folder_.reset(); }

  void missingFileStartsWithEveryBoxChecked() {
    SettingsDialog dialog(desktop_, folder_->path());
    QVERIFY(Box(dialog, "pronunciationCheck")->isChecked());
    QVERIFY(Box(dialog, "bilingualCheck")->isChecked());
    QVERIFY(Box(dialog, "monolingualCheck")->isChecked());
  }

  void boxesShowTheFile() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", ConfigText("FALSE", "TRUE", "FALSE", "TRUE"));
    SettingsDialog dialog(desktop_, folder_->path());
    QVERIFY(!Box(dialog, "pronunciationCheck")->isChecked());
    QVERIFY(Box(dialog, "bilingualCheck")->isChecked());
    QVERIFY(!Box(dialog, "monolingualCheck")->isChecked());
  }

  void saveWritesTheBoxesAndKeepsTheStartUpOption() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", ConfigText("TRUE", "TRUE", "TRUE", "FALSE"));
    SettingsDialog dialog(desktop_, folder_->path());
    Box(dialog, "bilingualCheck")->setChecked(false);
    Box(dialog, "monolingualCheck")->setChecked(false);
    Button(dialog, "saveButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(Config(), ConfigText("TRUE", "FALSE", "FALSE", "FALSE"));
  }

  void saveWithoutChangesRewritesTheExactForm() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", "FLAGBI##TRUE\r\nFLAGPRON##FALSE\r\n");
    SettingsDialog dialog(desktop_, folder_->path());
    Button(dialog, "saveButton")->click();
    QCOMPARE(Config(), ConfigText("FALSE", "TRUE", "TRUE", "TRUE"));
  }

  void cancelWritesNothing() {
    const std::string before = ConfigText("TRUE", "FALSE", "TRUE", "TRUE");
    tamrel::test::WriteBytes(*folder_ / "data/config.data", before);
    SettingsDialog dialog(desktop_, folder_->path());
    Box(dialog, "pronunciationCheck")->setChecked(false);
    Box(dialog, "bilingualCheck")->setChecked(true);
    Button(dialog, "cancelButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(Config(), before);
  }

  void enterSavesEscapeCancels() {
    {
      SettingsDialog dialog(desktop_, folder_->path());
      dialog.show();
      Box(dialog, "pronunciationCheck")->setChecked(false);
      Box(dialog, "monolingualCheck")->setFocus();
      QTest::keyClick(&dialog, Qt::Key_Escape);
      QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
      QVERIFY(!std::filesystem::exists(*folder_ / "data/config.data"));
    }
    SettingsDialog dialog(desktop_, folder_->path());
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
      SettingsDialog dialog(desktop_, folder_->path());
      QVERIFY(!Box(dialog, "toneColoursCheck")->isChecked());
      Button(dialog, "saveButton")->click();
      QVERIFY(!std::filesystem::exists(*folder_ / "data/options.json"));
    }
    {
      SettingsDialog dialog(desktop_, folder_->path());
      Box(dialog, "toneColoursCheck")->setChecked(true);
      Button(dialog, "saveButton")->click();
    }
    QCOMPARE(Config(), config);
    tamrel::LearnerOptions options;
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QVERIFY(options.toneColours);
    SettingsDialog dialog(desktop_, folder_->path());
    QVERIFY(Box(dialog, "toneColoursCheck")->isChecked());
    Box(dialog, "toneColoursCheck")->setChecked(false);
    Button(dialog, "cancelButton")->click();
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QVERIFY(options.toneColours);
  }

  // A settings file that cannot be written (a folder stands in its place: no permission stops
  // root) is named with the reason, and the dialog stays open with the boxes as they were set.
  void failedSaveSaysWhyAndKeepsTheChoices() {
    std::filesystem::create_directories(*folder_ / "data/config.data");
    SettingsDialog dialog(desktop_, folder_->path());
    dialog.show();
    Box(dialog, "bilingualCheck")->setChecked(false);
    Box(dialog, "pronunciationCheck")->setChecked(false);
    Button(dialog, "saveButton")->click();
    QCOMPARE(desktop_.messages.size(), size_t{1});
    const ScriptedDesktop::Message& message = desktop_.messages[0];
    QCOMPARE(message.caption, QStringLiteral("Settings Not Saved"));
    QVERIFY(message.icon == tamrel::Desktop::Icon::kError);
    QVERIFY2(message.text.startsWith(QStringLiteral("The settings could not be saved.\n") +
                                     QString::fromStdString((*folder_ / "data/config.data").string()) +
                                     QStringLiteral(": ")),
             qPrintable(message.text));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QVERIFY(!Box(dialog, "bilingualCheck")->isChecked());
    QVERIFY(!Box(dialog, "pronunciationCheck")->isChecked());
    QVERIFY(Box(dialog, "monolingualCheck")->isChecked());

    // Once the file can be written, Save writes the choices the dialog kept.
    std::filesystem::remove(*folder_ / "data/config.data");
    Button(dialog, "saveButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(desktop_.messages.size(), size_t{1});
    QCOMPARE(Config(), ConfigText("FALSE", "FALSE", "TRUE", "TRUE"));
  }

  void failedOptionsSaveSaysWhyAndKeepsTheChoice() {
    std::filesystem::create_directories(*folder_ / "data/options.json");
    SettingsDialog dialog(desktop_, folder_->path());
    dialog.show();
    Box(dialog, "toneColoursCheck")->setChecked(true);
    Button(dialog, "saveButton")->click();
    QCOMPARE(desktop_.messages.size(), size_t{1});
    QCOMPARE(desktop_.messages[0].caption, QStringLiteral("Settings Not Saved"));
    QVERIFY2(desktop_.messages[0].text.contains(QString::fromStdString((*folder_ / "data/options.json").string()) +
                                                QStringLiteral(": ")),
             qPrintable(desktop_.messages[0].text));
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QVERIFY(Box(dialog, "toneColoursCheck")->isChecked());
  }

  void tabVisitsSaveCancelAndTheBoxesInTurn() {
    SettingsDialog dialog(desktop_, folder_->path());
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
