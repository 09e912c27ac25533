// The window's language: under Simplified Chinese the forms, the shared texts and Help are
// Chinese; under English every text is the text itself; System Settings stores the choice.
#include "app/translation.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "app/settings_dialog.h"
#include "explorer/messages.h"
#include "settings/learner_options.h"
#include "tests/app/qt_test_main.h"
#include "tests/app/scripted_desktop.h"
#include "tests/app/window_test_folder.h"
#include "tests/support/test_support.h"

using tamrel::ApplyWindowLanguage;
using tamrel::HelpPage;
using tamrel::SettingsDialog;
using tamrel::WindowLanguage;
using tamrel::WindowText;
using tamrel::test::Named;

class TranslationTest : public QObject, tamrel::test::WindowFixture {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(SetUp(tamrel::test::Corpora::kNone)); }
  void cleanup() {
    TearDown();
    ApplyWindowLanguage(WindowLanguage::kEnglish);
  }

  void chineseTranslatesFormsSharedTextsAndHelp() {
    ApplyWindowLanguage(WindowLanguage::kSimplifiedChinese);
    SettingsDialog dialog(*desktop_, folder_->path());
    QCOMPARE(Named<QPushButton>(dialog, QStringLiteral("saveButton"))->text(), QStringLiteral("保存"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("系统设置"));
    QCOMPARE(WindowText(tamrel::kErrorCaption), QStringLiteral("错误！"));
    QCOMPARE(WindowText(tamrel::kBuildFinished), QStringLiteral("索引建立完成！"));
    // Help in Chinese where the folder has it, else the English page.
    QCOMPARE(HelpPage(folder_->path()), folder_->path() / "data" / "Help.html");
    tamrel::test::WriteBytes(*folder_ / "data/Help.zh_CN.html", "<p>帮助</p>");
    QCOMPARE(HelpPage(folder_->path()), folder_->path() / "data" / "Help.zh_CN.html");
  }

  void englishLeavesEveryTextAsItIs() {
    ApplyWindowLanguage(WindowLanguage::kSimplifiedChinese);
    ApplyWindowLanguage(WindowLanguage::kEnglish);  // replaces the Chinese translators
    SettingsDialog dialog(*desktop_, folder_->path());
    QCOMPARE(Named<QPushButton>(dialog, QStringLiteral("saveButton"))->text(), QStringLiteral("Save"));
    QCOMPARE(WindowText(tamrel::kErrorCaption), QString::fromLatin1(tamrel::kErrorCaption));
    QCOMPARE(WindowText(tamrel::kResourcesError), QString::fromLatin1(tamrel::kResourcesError));
    tamrel::test::WriteBytes(*folder_ / "data/Help.zh_CN.html", "<p>帮助</p>");
    QCOMPARE(HelpPage(folder_->path()), folder_->path() / "data" / "Help.html");
  }

  // The choice goes to data/options.json, the other options as they were.
  void settingsStoreTheLanguage() {
    {
      SettingsDialog dialog(*desktop_, folder_->path());
      auto* language = Named<QComboBox>(dialog, QStringLiteral("languageCombo"));
      QCOMPARE(language->currentIndex(), 0);  // System
      language->setCurrentIndex(2);
      QTest::mouseClick(Named<QPushButton>(dialog, QStringLiteral("saveButton")), Qt::LeftButton);
    }
    tamrel::LearnerOptions options;
    QVERIFY(tamrel::ReadLearnerOptions(options, folder_->path()).ok());
    QCOMPARE(options.language, WindowLanguage::kSimplifiedChinese);
    QVERIFY(!options.toneColours);
    SettingsDialog again(*desktop_, folder_->path());
    QCOMPARE(Named<QComboBox>(again, QStringLiteral("languageCombo"))->currentIndex(), 2);
  }
};

TAMREL_WINDOW_TEST_MAIN(TranslationTest)
#include "translation_test.moc"
