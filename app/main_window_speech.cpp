// Speak: the selected text, or the sentence under the pointer, read aloud in Mandarin or English,
// from the web view's context menu or with F8.
#include <QCoreApplication>
#include <QCursor>
#include <QKeySequence>
#include <QPointer>

#include "app/desktop.h"
#include "app/main_window.h"
#include "app/result_view.h"
#include "app/speech.h"
#include "app/translation.h"
#include "resources/window_texts.h"
#include "ui_main_window.h"

namespace tamrel {

void MainWindow::setUpSpeech() {
  // The menu entry only shows the key: a disabled action would not hear it, so the key has an
  // action of its own.
  speakAction_.setParent(this);  // so that it can be found by name, as the form's actions can
  speakKey_.setParent(this);
  speakAction_.setText(WindowText(kSpeakEntry) + QStringLiteral("\tF8"));
  speakAction_.setObjectName(QStringLiteral("actionSpeak"));
  speakAction_.setEnabled(false);  // until a context menu finds a sentence with a voice
  speakKey_.setObjectName(QStringLiteral("actionSpeakKey"));
  speakKey_.setShortcut(QKeySequence(Qt::Key_F8));
  speakKey_.setShortcutContext(Qt::WindowShortcut);
  // On the web view, not the window, whose own actions make its context menu.
  ui_->webView->addAction(&speakKey_);
  ui_->webView->addContextAction(&speakAction_);
  connect(ui_->webView, &ResultView::contextMenuOpening, this, &MainWindow::onContextMenuOpening);
  connect(&speakAction_, &QAction::triggered, this, &MainWindow::onSpeak);
  connect(&speakKey_, &QAction::triggered, this, &MainWindow::onSpeakKey);
}

bool MainWindow::prepareSpeech(const QString& text) {
  const SpeakableText speakable = PrepareSpeech(text);
  speechText_ = speakable.text;
  speechLanguage_ = speakable.language;
  // Without a sound device the entry stays enabled, so that choosing it says why nothing is read.
  const bool playable = desktop_.Speech().CanPlay();
  const bool voice =
      speakable.language != SpokenLanguage::kNone && (!playable || desktop_.Speech().HasVoice(speakable.language));
  speakAction_.setEnabled(voice);
  speakAction_.setToolTip(speakable.language == SpokenLanguage::kNone
                              ? QCoreApplication::translate("MainWindow", "No sentence here to read")
                          : !playable ? WindowText(kNoSoundDevice)
                          : voice     ? QCoreApplication::translate("MainWindow", "Read aloud")
                                      : MissingVoiceHint(speakable.language));
  return voice;
}

// The text is found by a script of the page, whose answer can come after the window is gone: the
// answers below go only to a window that is still there.
void MainWindow::onContextMenuOpening(const QPoint& point) {
  speakAction_.setEnabled(false);
  const QPointer<MainWindow> self(this);
  ui_->webView->textAt(point, [self](const QString& text) {
    if (self) self->prepareSpeech(text);
  });
}

void MainWindow::onSpeak() {
  if (speechLanguage_ == SpokenLanguage::kNone || speechText_.isEmpty()) return;
  QString why;
  switch (desktop_.Speech().Say(speechText_, SpeechLocale(speechLanguage_))) {
    case SpeechStart::kSpeaking:
      return;
    case SpeechStart::kNoSoundDevice:
      why = WindowText(kNoSoundDevice);
      break;
    case SpeechStart::kNoSpeechService:
      why = WindowText(kNoSpeechService);
      break;
    case SpeechStart::kNoVoice:
      why = MissingVoiceHint(speechLanguage_);
      break;
  }
  desktop_.Tell(this, WindowText(kSpeakCaption), why, Desktop::Icon::kInformation);
}

void MainWindow::onSpeakKey() {
  const QPoint pointer = ui_->webView->mapFromGlobal(QCursor::pos());
  const QPointer<MainWindow> self(this);
  ui_->webView->textAt(pointer, [self](const QString& text) {
    if (!self) return;
    if (self->prepareSpeech(text)) {
      self->onSpeak();
    } else if (self->speechLanguage_ != SpokenLanguage::kNone) {
      self->desktop_.Tell(self, WindowText(kSpeakCaption), MissingVoiceHint(self->speechLanguage_),
                          Desktop::Icon::kInformation);
    }
  });
}

}  // namespace tamrel
