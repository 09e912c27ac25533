#include "app/speech.h"

#include <QTextToSpeech>

#include "app/qt_text.h"

namespace tamrel {

QLocale SpeechLocale(SpokenLanguage language) {
  return language == SpokenLanguage::kMandarin ? QLocale(QLocale::Chinese, QLocale::China)
                                               : QLocale(QLocale::English, QLocale::UnitedStates);
}

QString MissingVoiceHint(SpokenLanguage language) {
  const QString which = language == SpokenLanguage::kMandarin ? QStringLiteral("Mandarin") : QStringLiteral("English");
  return QStringLiteral(
             "No %1 voice is installed. Install the packages qt6-speech-speechd-plugin, speech-dispatcher, "
             "speech-dispatcher-espeak-ng and espeak-ng (scripts/install-deps.sh does), then start "
             "Tamrel again.")
      .arg(which);
}

SpeakableText PrepareSpeech(const QString& text) {
  const std::u16string raw = ToU16(text);
  SpeakableText speakable;
  speakable.language = SpokenLanguageOf(raw);
  if (speakable.language == SpokenLanguage::kMandarin) {
    speakable.text = ToQString(JoinChineseWords(raw));
  } else if (speakable.language == SpokenLanguage::kEnglish) {
    speakable.text = ToQString(PlainText(raw));
  }
  return speakable;
}

QtSpeechEngine::QtSpeechEngine() = default;
QtSpeechEngine::~QtSpeechEngine() = default;

QTextToSpeech& QtSpeechEngine::engine() {
  if (!engine_) engine_ = std::make_unique<QTextToSpeech>();
  return *engine_;
}

bool QtSpeechEngine::HasVoice(SpokenLanguage language) {
  if (language == SpokenLanguage::kNone || engine().state() == QTextToSpeech::Error) return false;
  const QLocale::Language wanted = SpeechLocale(language).language();
  for (const QLocale& locale : engine().availableLocales()) {
    if (locale.language() == wanted) return true;
  }
  return false;
}

void QtSpeechEngine::Say(const QString& text, const QLocale& locale) {
  QTextToSpeech& tts = engine();
  tts.stop();
  tts.setLocale(locale);
  tts.say(text);
}

}  // namespace tamrel
