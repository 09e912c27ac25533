// WordTestDialog: the Word Test dialog. It opens on a worked example; Next draws a question through
// the quiz engine, Check Answer scores the chosen answer, "End?" asks before closing and Escape
// closes at once. The window only reads its controls and shows the engine's answers.
// The corpus and the desktop must outlive the dialog.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "corpus/corpus_index.h"
#include "learning/word_test_engine.h"

class Desktop;
class QLabel;
class QRadioButton;

namespace Ui {
class WordTestDialog;
}

class WordTestDialog : public QDialog {
  Q_OBJECT

 public:
  WordTestDialog(const tamrel::CorpusIndex& corpusIndex, Desktop& desktop, QWidget* parent = nullptr);
  ~WordTestDialog() override;

  const tamrel::WordTestEngine& engine() const { return engine_; }

 private:
  // Moves level, direction, chosen answer and question line between the controls and the
  // members (to the members when `saveAndValidate`).
  void DoDataExchange(bool saveAndValidate);
  void OnCheckAnswer();
  void OnEnd();
  void OnNext();
  void ShowQuestion(const tamrel::WordTestQuestion& question);
  QLabel* ChoiceLabel(int index) const;

  tamrel::WordTestEngine engine_;  // answer position, counts, pools and the generator
  int level_ = tamrel::kLevelBeginner;
  int direction_ = tamrel::kHanziToPinyin;
  int chosenIndex_ = 0;
  QString questionText_;
  Desktop& desktop_;
  std::unique_ptr<Ui::WordTestDialog> ui_;
};
