#include "app/word_test_dialog.h"

#include <QCoreApplication>
#include <array>

#include "app/desktop.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "app/window_frame.h"
#include "resources/window_texts.h"
#include "ui_word_test_dialog.h"

namespace tamrel {
namespace {

// The index of the checked button of a radio group, -1 when none is checked.
template <size_t N>
int CheckedIndex(const std::array<QRadioButton*, N>& group) {
  for (size_t i = 0; i < N; ++i) {
    if (group[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

template <size_t N>
void Check(const std::array<QRadioButton*, N>& group, int index) {
  if (index >= 0 && static_cast<size_t>(index) < N) group[static_cast<size_t>(index)]->setChecked(true);
}

// A fixed text of the Word Test engine in the window's language; the engine's other texts (words,
// pinyin, counts) are shown as they are.
QString Shown(std::u16string_view text) {
  if (text == kExampleQuestion) return QCoreApplication::translate("WordTestDialog", "Example: 这是 [_猫_] 。");
  if (text == kNoQuestionText) {
    return QCoreApplication::translate("WordTestDialog",
                                       "No question could be found at this level in this corpus. Please choose "
                                       "another level.");
  }
  if (text == kVerdictRight) return QCoreApplication::translate("WordTestDialog", "Correct!! :-)");
  if (text == kVerdictWrong) return QCoreApplication::translate("WordTestDialog", "Wrong!!!! :-(");
  return ToQString(text);
}

}  // namespace

WordTestDialog::WordTestDialog(const CorpusIndex& corpusIndex, Desktop& desktop, QWidget* parent)
    : QDialog(parent),
      engine_(corpusIndex, [&desktop] { return desktop.TickCount(); }),
      questionText_(Shown(kExampleQuestion)),
      desktop_(desktop),
      ui_(std::make_unique<Ui::WordTestDialog>()) {
  RegisterWindowResources();
  ui_->setupUi(this);
  SetDialogFrame(*this);
  // The meters only show; the user cannot move them.
  for (QSlider* meter : {ui_->levelMeter, ui_->scoreMeter}) meter->setAttribute(Qt::WA_TransparentForMouseEvents);

  connect(ui_->checkButton, &QPushButton::clicked, this, &WordTestDialog::onCheckAnswer);
  connect(ui_->endButton, &QPushButton::clicked, this, &WordTestDialog::onEnd);
  connect(ui_->nextButton, &QPushButton::clicked, this, &WordTestDialog::onNext);

  loadControls();
  // The worked example is a question open to an answer: Enter checks it. "End?" never takes
  // Enter, so that a key pressed by habit cannot end the test.
  ui_->checkButton->setDefault(true);
  ui_->checkButton->setFocus();
}

WordTestDialog::~WordTestDialog() = default;

void WordTestDialog::loadControls() {
  Check(std::array{ui_->beginnerRadio, ui_->normalRadio, ui_->expertRadio}, level_);
  Check(std::array{ui_->hanziToPinyinRadio, ui_->pinyinToHanziRadio}, direction_);
  Check(std::array{ui_->choiceARadio, ui_->choiceBRadio, ui_->choiceCRadio, ui_->choiceDRadio}, chosenIndex_);
  ui_->questionLabel->setText(questionText_);
}

void WordTestDialog::storeControls() {
  level_ = CheckedIndex(std::array{ui_->beginnerRadio, ui_->normalRadio, ui_->expertRadio});
  direction_ = CheckedIndex(std::array{ui_->hanziToPinyinRadio, ui_->pinyinToHanziRadio});
  chosenIndex_ = CheckedIndex(std::array{ui_->choiceARadio, ui_->choiceBRadio, ui_->choiceCRadio, ui_->choiceDRadio});
  questionText_ = ui_->questionLabel->text();
}

QLabel* WordTestDialog::choiceLabel(int index) const {
  const std::array<QLabel*, 4> labels = {ui_->choiceALabel, ui_->choiceBLabel, ui_->choiceCLabel, ui_->choiceDLabel};
  return labels[static_cast<size_t>(index)];
}

void WordTestDialog::onCheckAnswer() {
  storeControls();
  const WordTestScore score = engine_.Check(chosenIndex_);
  ui_->rightLetterLabel->setText(ToQString(score.letter));
  ui_->verdictLabel->setText(Shown(score.verdict));
  ui_->countsLabel->setText(ToQString(score.counts));
  ui_->percentageLabel->setText(ToQString(score.percentage));
  ui_->scoreMeter->setRange(0, 10);
  ui_->scoreMeter->setValue(score.meter);
  showAnswerState(false);
}

void WordTestDialog::onEnd() {
  if (desktop_.Ask(this, WindowText(kEndTestCaption), WindowText(kEndTestQuestion))) {
    storeControls();
    accept();
  }
}

void WordTestDialog::onNext() {
  storeControls();
  // With no level button checked the test runs at the expert level, and with no direction
  // button checked from pinyin to Hanzi.
  const Level level = level_ == 0 ? Level::kBeginner : level_ == 1 ? Level::kNormal : Level::kExpert;
  const Direction direction = direction_ == 0 ? Direction::kHanziToPinyin : Direction::kPinyinToHanzi;
  ui_->levelMeter->setRange(0, 2);
  ui_->levelMeter->setValue(WordTestEngine::LevelMeterPosition(level));
  showQuestion(engine_.NextQuestion(level, direction));
}

void WordTestDialog::showQuestion(const std::optional<WordTestQuestion>& question) {
  ui_->rightLetterLabel->setText(QStringLiteral("?"));
  ui_->verdictLabel->setText(QStringLiteral("?"));
  if (!question) {
    // No question within the bound: say so, and let the user pick another level and try again.
    ui_->questionLabel->setText(Shown(kNoQuestionText));
    ui_->sentenceLabel->clear();
    for (int i = 0; i < 4; ++i) choiceLabel(i)->clear();
    showAnswerState(false);
    return;
  }
  ui_->questionLabel->setText(ToQString(question->questionLine));
  ui_->sentenceLabel->setText(ToQString(question->sentenceLine));
  for (int i = 0; i < 4; ++i) choiceLabel(i)->setText(ToQString(question->choices[static_cast<size_t>(i)]));
  // A new question starts with no answer chosen: the choice of the one before says nothing about it.
  ui_->choiceGroup->setExclusive(false);
  for (QAbstractButton* choice : ui_->choiceGroup->buttons()) choice->setChecked(false);
  ui_->choiceGroup->setExclusive(true);
  showAnswerState(true);
}

void WordTestDialog::showAnswerState(bool open) {
  // Enabled first, so that the default never sits on a disabled button.
  ui_->checkButton->setEnabled(open);
  ui_->nextButton->setEnabled(!open);
  QPushButton* next = open ? ui_->checkButton : ui_->nextButton;
  next->setDefault(true);
  // The button just pressed is disabled now; Enter goes to the one that takes the next step.
  if (focusWidget() == nullptr || !focusWidget()->isEnabled() || focusWidget() == ui_->endButton) next->setFocus();
}

}  // namespace tamrel
