// WordTestDialog: the Word Test dialog. It opens on a worked example; Next draws a question through
// the quiz engine with no answer chosen, Check Answer scores the chosen answer, "End?" asks before
// closing and Escape closes at once. Enter checks an open question and otherwise goes to the next.
// The window only reads its controls and shows the engine's answers. The corpus and the desktop
// must outlive the dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>

#include "corpus/corpus_index.h"
#include "learning/word_test_engine.h"

class QLabel;

namespace Ui {
class WordTestDialog;
}

namespace tamrel {

class Desktop;

class WordTestDialog : public QDialog {
  Q_OBJECT

 public:
  WordTestDialog(const CorpusIndex& corpusIndex, Desktop& desktop, QWidget* parent = nullptr);
  ~WordTestDialog() override;

  const WordTestEngine& engine() const { return engine_; }

 private:
  // Shows level, direction, chosen answer and question line of the members in the controls.
  void loadControls();
  // Takes level, direction, chosen answer and question line from the controls into the members.
  void storeControls();
  void onCheckAnswer();
  void onEnd();
  void onNext();
  void showQuestion(const std::optional<WordTestQuestion>& question);
  // A question open to an answer (`open`): Check Answer is enabled and takes Enter. Otherwise
  // (scored, or no question found) Next does.
  void showAnswerState(bool open);
  QLabel* choiceLabel(int index) const;

  WordTestEngine engine_;  // answer position, counts, pools and the generator
  int level_ = 0;          // the checked level button: beginner, normal, expert; -1 when none is
  int direction_ = 0;      // the checked direction button: Hanzi to pinyin, pinyin to Hanzi; -1 when none is
  int chosenIndex_ = 0;
  QString questionText_;
  Desktop& desktop_;
  std::unique_ptr<Ui::WordTestDialog> ui_;
};

}  // namespace tamrel
