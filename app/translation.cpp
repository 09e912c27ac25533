#include "app/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace tamrel {

namespace {

struct Installed {
  WindowLanguage language = WindowLanguage::kEnglish;
  std::unique_ptr<QTranslator> tamrel;
  std::unique_ptr<QTranslator> qt;
};

Installed& Current() {
  static Installed installed;
  return installed;
}

}  // namespace

WindowLanguage ShownLanguage(WindowLanguage choice) {
  if (choice != WindowLanguage::kSystem) return choice;
  return QLocale::system().language() == QLocale::Chinese ? WindowLanguage::kSimplifiedChinese
                                                          : WindowLanguage::kEnglish;
}

void ApplyWindowLanguage(WindowLanguage choice) {
  Installed& installed = Current();
  for (auto* translator : {&installed.tamrel, &installed.qt}) {
    if (*translator) QCoreApplication::removeTranslator(translator->get());
    translator->reset();
  }
  installed.language = ShownLanguage(choice);
  if (installed.language != WindowLanguage::kSimplifiedChinese) return;
  installed.tamrel = std::make_unique<QTranslator>();
  if (installed.tamrel->load(QStringLiteral(":/i18n/tamrel_zh_CN.qm"))) {
    QCoreApplication::installTranslator(installed.tamrel.get());
  }
  // Qt's own texts (Yes, No, Cancel of the message boxes), from qt6-translations-l10n.
  installed.qt = std::make_unique<QTranslator>();
  if (installed.qt->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(installed.qt.get());
  }
}

WindowLanguage CurrentWindowLanguage() { return Current().language; }

QString WindowText(const char* text) { return QCoreApplication::translate("WindowTexts", text); }

std::filesystem::path HelpPage(const std::filesystem::path& root) {
  const std::filesystem::path english = root / "data" / "Help.html";
  if (CurrentWindowLanguage() != WindowLanguage::kSimplifiedChinese) return english;
  const std::filesystem::path chinese = root / "data" / "Help.zh_CN.html";
  std::error_code error;
  return std::filesystem::exists(chinese, error) ? chinese : english;
}

}  // namespace tamrel
