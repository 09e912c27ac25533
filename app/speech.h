// Speech: reading a sentence aloud. SpeechEngine is the seam between the windows and the voices of
// the system: the program uses QtSpeechEngine (Qt TextToSpeech, whose speech-dispatcher plugin
// speaks through espeak-ng), the window tests a recording engine. SpeakableText prepares what the
// person pointed at: the language told from its script, a Chinese line's word spaces taken out.
#pragma once

#include <QLocale>
#include <QString>
#include <memory>

#include "explorer/sentence_text.h"

class QTextToSpeech;

namespace tamrel {

// What came of a request to read a text aloud.
enum class SpeechStart {
  kSpeaking,         // the text is being read
  kNoSoundDevice,    // nothing could play it: no sound card and no sound server
  kNoSpeechService,  // the speech service (speech-dispatcher) could not be reached
  kNoVoice,          // no voice for the text's language
};

class SpeechEngine {
 public:
  virtual ~SpeechEngine() = default;
  // True when something can play speech: a sound device or a sound server. Without one the
  // voices are not looked up, since the speech service may then never answer.
  virtual bool CanPlay() = 0;
  // True when the system has a voice for `language`.
  virtual bool HasVoice(SpokenLanguage language) = 0;
  // Starts reading `text` aloud in `locale` and returns at once; anything but kSpeaking means that
  // nothing is read.
  virtual SpeechStart Say(const QString& text, const QLocale& locale) = 0;
};

// Where a sound device shows itself: the ALSA device folder, whose playback devices are named
// pcmC<card>D<device>p, the user's runtime folder, where a PulseAudio or PipeWire server keeps its
// socket, and the PULSE_SERVER a remote sound server is named by.
struct SoundPlaces {
  QString deviceFolder;
  QString runtimeFolder;
  QString pulseServer;
};

// The places of this system: /dev/snd, $XDG_RUNTIME_DIR and $PULSE_SERVER.
SoundPlaces SystemSoundPlaces();

// True when `places` show a playback device or a sound server. Speech-dispatcher plays through
// one of them; without any it takes a text and says nothing, so the window tells the person.
bool HasSoundDevice(const SoundPlaces& places);

// The locale a voice of `language` is asked for: Chinese (China) or English (United States).
QLocale SpeechLocale(SpokenLanguage language);

// What the tooltip of a disabled Speak entry says: which voice is missing and what to install.
QString MissingVoiceHint(SpokenLanguage language);

struct SpeakableText {
  QString text;
  SpokenLanguage language = SpokenLanguage::kNone;
};

// `text` ready to be read: Mandarin for text with a Han character (its word spaces removed),
// English for other text with Latin letters, nothing (kNone) for anything else.
SpeakableText PrepareSpeech(const QString& text);

// The system's voices, through Qt TextToSpeech. The engine is made at the first use, so that a
// program that never speaks never starts speech-dispatcher. A voice is one of the locale's
// language; speech-dispatcher names espeak-ng's Mandarin voice, whose language code "cmn" Qt does
// not know, under the C locale as "Chinese (Mandarin, ...)", so it is looked for there too.
class QtSpeechEngine : public SpeechEngine {
 public:
  QtSpeechEngine();
  ~QtSpeechEngine() override;
  bool CanPlay() override;
  bool HasVoice(SpokenLanguage language) override;
  SpeechStart Say(const QString& text, const QLocale& locale) override;

 private:
  QTextToSpeech& engine();
  // Sets the engine's locale and voice to one for `language`; false when it has none.
  bool chooseVoice(SpokenLanguage language);
  std::unique_ptr<QTextToSpeech> engine_;
};

}  // namespace tamrel
