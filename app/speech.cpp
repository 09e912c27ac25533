#include "app/speech.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextToSpeech>
#include <QtGlobal>

#include "app/qt_text.h"

namespace tamrel {

QLocale SpeechLocale(SpokenLanguage language) {
  return language == SpokenLanguage::kMandarin ? QLocale(QLocale::Chinese, QLocale::China)
                                               : QLocale(QLocale::English, QLocale::UnitedStates);
}

QString MissingVoiceHint(SpokenLanguage language) {
  const QString which = language == SpokenLanguage::kMandarin ? QCoreApplication::translate("Speech", "Mandarin")
                                                              : QCoreApplication::translate("Speech", "English");
  return QCoreApplication::translate(
             "Speech",
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

SoundPlaces SystemSoundPlaces() {
  return {QStringLiteral("/dev/snd"), qEnvironmentVariable("XDG_RUNTIME_DIR"), qEnvironmentVariable("PULSE_SERVER")};
}

bool HasSoundDevice(const SoundPlaces& places) {
  if (!places.pulseServer.isEmpty()) return true;
  if (!places.deviceFolder.isEmpty() &&
      !QDir(places.deviceFolder).entryList({QStringLiteral("pcmC*p")}, QDir::System | QDir::Files).isEmpty()) {
    return true;
  }
  if (places.runtimeFolder.isEmpty()) return false;
  const QDir runtime(places.runtimeFolder);
  return QFileInfo::exists(runtime.filePath(QStringLiteral("pulse/native"))) ||
         QFileInfo::exists(runtime.filePath(QStringLiteral("pipewire-0")));
}

QtSpeechEngine::QtSpeechEngine() = default;
QtSpeechEngine::~QtSpeechEngine() = default;

QTextToSpeech& QtSpeechEngine::engine() {
  if (!engine_) engine_ = std::make_unique<QTextToSpeech>();
  return *engine_;
}

bool QtSpeechEngine::chooseVoice(SpokenLanguage language) {
  if (language == SpokenLanguage::kNone || engine().state() == QTextToSpeech::Error) return false;
  QTextToSpeech& tts = engine();
  const QLocale wanted = SpeechLocale(language);
  const QList<QLocale> locales = tts.availableLocales();
  // The wanted country first, then any of the language.
  for (const bool sameCountry : {true, false}) {
    for (const QLocale& locale : locales) {
      if (locale.language() != wanted.language() || (sameCountry && locale.territory() != wanted.territory())) {
        continue;
      }
      tts.setLocale(locale);
      return true;
    }
  }
  if (language != SpokenLanguage::kMandarin) return false;
  for (const QLocale& locale : locales) {
    if (locale.language() != QLocale::C && locale.language() != QLocale::AnyLanguage) continue;
    tts.setLocale(locale);
    for (const QVoice& voice : tts.availableVoices()) {
      if (voice.name().contains(QStringLiteral("Mandarin"))) {
        tts.setVoice(voice);
        return true;
      }
    }
  }
  return false;
}

bool QtSpeechEngine::CanPlay() { return HasSoundDevice(SystemSoundPlaces()); }

bool QtSpeechEngine::HasVoice(SpokenLanguage language) { return CanPlay() && chooseVoice(language); }

SpeechStart QtSpeechEngine::Say(const QString& text, const QLocale& locale) {
  if (!CanPlay()) return SpeechStart::kNoSoundDevice;
  if (engine().state() == QTextToSpeech::Error) return SpeechStart::kNoSpeechService;
  const SpokenLanguage language =
      locale.language() == QLocale::Chinese ? SpokenLanguage::kMandarin : SpokenLanguage::kEnglish;
  engine().stop();
  if (!chooseVoice(language)) return SpeechStart::kNoVoice;
  engine().say(text);
  return SpeechStart::kSpeaking;
}

}  // namespace tamrel
