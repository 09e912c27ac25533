#include "app/settings_dialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "settings/learner_options.h"
#include "tests/app/qt_test_main.h"
#include "tests/support/test_support.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string ConfigText(const char* pron, const char* bi, const char* mono, const char* startup) {
  return kBom + "FIRST\nFLAGPRON##" + pron + "\nFLAGBI##" + bi + "\nFLAGMONO##" + mono + "\nFLAGSTARTUP##" + startup +
         "\n";
}

}  // namespace

using tamrel::SettingsDialog;

class SettingsDialogTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<tamrel::test::RuntimeFolder> folder_;

  static QCheckBox* Box(SettingsDialog& dialog, const char* name) { return dialog.findChild<QCheckBox*>(name); }
  static QPushButton* Button(SettingsDialog& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }
  std::string Config() const { return tamrel::test::ReadBytes(*folder_ / "data/config.data"); }

 private slots:
  void init() { folder_ = std::make_unique<tamrel::test::RuntimeFolder>(); }
  void cleanup() { folder_.reset(); }

  void missingFileStartsWithEveryBoxChecked() {
    SettingsDialog dialog(folder_->path());
    QVERIFY(Box(dialog, "pronunciationCheck")->isChecked());
    QVERIFY(Box(dialog, "bilingualCheck")->isChecked());
    QVERIFY(Box(dialog, "monolingualCheck")->isChecked());
  }

  void boxesShowTheFile() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", ConfigText("FALSE", "TRUE", "FALSE", "TRUE"));
    SettingsDialog dialog(folder_->path());
    QVERIFY(!Box(dialog, "pronunciationCheck")->isChecked());
    QVERIFY(Box(dialog, "bilingualCheck")->isChecked());
    QVERIFY(!Box(dialog, "monolingualCheck")->isChecked());
  }

  void saveWritesTheBoxesAndKeepsTheStartUpOption() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", ConfigText("TRUE", "TRUE", "TRUE", "FALSE"));
    SettingsDialog dialog(folder_->path());
    Box(dialog, "bilingualCheck")->setChecked(false);
    Box(dialog, "monolingualCheck")->setChecked(false);
    Button(dialog, "saveButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
    QCOMPARE(Config(), ConfigText("TRUE", "FALSE", "FALSE", "FALSE"));
  }

  void saveWithoutChangesRewritesTheExactForm() {
    tamrel::test::WriteBytes(*folder_ / "data/config.data", "FLAGBI##TRUE\r\nFLAGPRON##FALSE\r\n");
    SettingsDialog dialog(folder_->path());
    Button(dialog, "saveButton")->click();
    QCOMPARE(Config(), ConfigText("FALSE", "TRUE", "TRUE", "TRUE"));
  }

  void cancelWritesNothing() {
    const std::string before = ConfigText("TRUE", "FALSE", "TRUE", "TRUE");
    tamrel::test::WriteBytes(*folder_ / "data/config.data", before);
    SettingsDialog dialog(folder_->path());
    Box(dialog, "pronunciationCheck")->setChecked(false);
    Box(dialog, "bilingualCheck")->setChecked(true);
    Button(dialog, "cancelButton")->click();
    QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(Config(), before);
  }

  void enterSavesEscapeCancels() {
    {
      SettingsDialog dialog(folder_->path());
      dialog.show();
      Box(dialog, "pronunciationCheck")->setChecked(false);
      Box(dialog, "monolingualCheck")->setFocus();
      QTest::keyClick(&dialog, Qt::Key_Escape);
      QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
      QVERIFY(!std::filesystem::exists(*folder_ / "data/config.data"));
    }
    SettingsDialog dialog(folder_->path());
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
      SettingsDialog dialog(folder_->path());
      QVERIFY(!Box(dialog, "toneColoursCheck")->isChecked());
      Button(dialog, "saveButton")->click();
      QVERIFY(!std::filesystem::exists(*folder_ / "data/options.json"));
    }
    {
      SettingsDialog dialog(folder_->path());
      Box(dialog, "toneColoursCheck")->setChecked(true);
      Button(dialog, "saveButton")->click();
    }
    QCOMPARE(Config(), config);
    tamrel::LearnerOptions options;
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QVERIFY(options.toneColours);
    SettingsDialog dialog(folder_->path());
    QVERIFY(Box(dialog, "toneColoursCheck")->isChecked());
    Box(dialog, "toneColoursCheck")->setChecked(false);
    Button(dialog, "cancelButton")->click();
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QVERIFY(options.toneColours);
  }

  void tabVisitsSaveCancelAndTheBoxesInTurn() {
    SettingsDialog dialog(folder_->path());
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
