#include "learning/word_test_engine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "search/query.h"
#include "text/code_points.h"
#include "text/text_utils.h"

namespace tamrel {

namespace {

// The pools' first entries; they also close the completion of the choices, so four different
// wrong choices can always be found.
constexpr std::array<std::u16string_view, 6> kInitialHanzi = {u"美国", u"花朵", u"包子", u"耳朵", u"头部", u"眼睛"};
constexpr std::array<std::u16string_view, 7> kInitialPinyin = {u"zài",    u"wǒ",     u"de",       u"zhōngguō",
                                                               u"guójiá", u"gōngsī", u"xīnhuāshē"};

constexpr std::u16string_view kSpace = u" ";

// True when the text starts with a Han character.
bool StartsWithIdeograph(std::u16string_view text) { return !text.empty() && IsHan(CodePointAt(text, 0).value); }

// A pinyin token that may stand as a wrong choice: not a number, not punctuation repeated as is.
bool IsSyllableGroup(std::u16string_view hanzi, std::u16string_view pinyin) {
  return StartsWithIdeograph(hanzi) && !pinyin.empty() && pinyin != hanzi && !IsAsciiDigit(pinyin[0]);
}

int DrawPosition(QuizRandom& random, Level level) {
  if (level == Level::kBeginner) return random.Draw() % 200;
  if (level == Level::kNormal) return random.Draw() % 800 + 200;
  return random.Draw() % 9000 + 1000;
}

// A choice as it is compared: apostrophes between syllables left out, since qǐ'é (as an import
// writes it) and qǐé (as the shipped corpus does) are one reading.
std::u16string ChoiceKey(std::u16string_view choice) {
  std::u16string key;
  for (char16_t c : choice) {
    if (c != u'\'' && c != u'\u2019') key.push_back(c);
  }
  return key;
}

// Collects up to four different choices, none equal to the right answer. An empty entry (only a
// hand-made corpus with a double space can put one in a pool) is passed over: a blank choice
// would read as a missing one.
class ChoiceSet {
 public:
  explicit ChoiceSet(std::u16string_view right) : right_(ChoiceKey(right)) {}
  bool full() const { return accepted_.size() == 4; }
  void Offer(std::u16string_view candidate) {
    if (full() || candidate.empty()) return;
    std::u16string key = ChoiceKey(candidate);
    if (key == right_ || std::find(keys_.begin(), keys_.end(), key) != keys_.end()) return;
    keys_.push_back(std::move(key));
    accepted_.emplace_back(candidate);
  }
  std::array<std::u16string, 4> Take() {
    std::array<std::u16string, 4> choices;
    for (size_t i = 0; i < accepted_.size(); ++i) choices[i] = std::move(accepted_[i]);
    return choices;
  }

 private:
  std::u16string right_;
  std::vector<std::u16string> keys_;  // of the accepted choices
  std::vector<std::u16string> accepted_;
};

}  // namespace

uint32_t SteadyTickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

WordTestEngine::WordTestEngine(const CorpusIndex& corpus, TickSource tickCount)
    : corpus_(corpus), tickCount_(std::move(tickCount)) {
  hanziPool_.assign(kInitialHanzi.begin(), kInitialHanzi.end());
  pinyinPool_.assign(kInitialPinyin.begin(), kInitialPinyin.end());
}

int WordTestEngine::LevelMeterPosition(Level level) {
  if (level == Level::kBeginner) return 0;
  if (level == Level::kNormal) return 1;
  return 2;
}

void WordTestEngine::InsertIntoPool(std::deque<std::u16string>& pool, std::u16string_view entry) {
  if (pool.size() >= kPoolCapacity) pool.pop_back();
  pool.emplace_front(entry);
}

std::optional<WordTestQuestion> WordTestEngine::NextQuestion(Level level, Direction direction) {
  WordTestQuestion question;
  random_.Seed(tickCount_());
  std::vector<ResultSentence> sentences;
  bool found = false;
  while (!found && question.attempts < kMaxQuestionAttempts) {
    ++question.attempts;
    found = TryQuestion(level, direction, question, sentences);
  }
  if (!found) return std::nullopt;

  question.answerIndex = random_.Draw() % 4;
  const std::u16string right = direction == Direction::kHanziToPinyin ? question.rightPinyin : question.word;
  question.choices = DrawWrongChoices(direction, right, sentences);
  question.choices[static_cast<size_t>(question.answerIndex)] = right;
  answerIndex_ = question.answerIndex;
  return question;
}

bool WordTestEngine::TryQuestion(Level level, Direction direction, WordTestQuestion& question,
                                 std::vector<ResultSentence>& sentences) {
  std::vector<NumberedWord> entry = ListWords(corpus_, DrawPosition(random_, level), Language::kChinese, 1);
  if (entry.empty()) return false;
  std::u16string word = std::move(entry[0].word);
  // An empty word cannot be searched; at the higher levels single characters are too easy.
  if (word.empty() || (level != Level::kBeginner && word.size() < 2)) return false;

  sentences.clear();
  SearchCorpus(word, corpus_, sentences);  // leaves `word` normalised, as compared below
  if (sentences.empty()) return false;

  FieldList hanzi;
  FieldList pinyin;
  bool usable = false;
  for (size_t i = static_cast<size_t>(random_.Draw()) % sentences.size(); i < sentences.size() && !usable; ++i) {
    hanzi = SplitString(sentences[i].chinese, kSpace);
    pinyin = SplitString(sentences[i].pinyin, kSpace);
    usable = hanzi.size() == pinyin.size() && hanzi.size() >= kMinSentenceTokens && hanzi.size() <= kMaxSentenceTokens;
  }
  if (!usable) return false;

  std::u16string hanziLine;
  std::u16string pinyinLine;
  std::u16string right;
  for (size_t j = 0; j < hanzi.size(); ++j) {
    if (hanzi[j] == word) {
      right = pinyin[j];
      const std::u16string blank = u"[_" + (direction == Direction::kHanziToPinyin ? word : right) + u"_] ";
      hanziLine += blank;
      pinyinLine += blank;
      continue;
    }
    hanziLine += hanzi[j] + u" ";
    pinyinLine += pinyin[j] + u" ";
    if (j % 3 == 0 && pinyin[j].size() >= 3 && !IsAsciiDigit(pinyin[j][0])) {
      InsertIntoPool(pinyinPool_, pinyin[j]);
      InsertIntoPool(hanziPool_, hanzi[j]);
    }
  }
  // The word must stand as a whole token with a real reading; otherwise try again.
  if (right.size() < 2 || IsAsciiDigit(right[0])) return false;

  question.word = std::move(word);
  question.rightPinyin = std::move(right);
  if (level != Level::kBeginner) {
    question.questionLine = std::move(hanziLine);
    question.sentenceLine = std::move(pinyinLine);
  } else {
    question.questionLine = direction == Direction::kHanziToPinyin ? question.word : question.rightPinyin;
    question.sentenceLine.clear();
  }
  return true;
}

std::array<std::u16string, 4> WordTestEngine::DrawWrongChoices(Direction direction, std::u16string_view right,
                                                               const std::vector<ResultSentence>& sentences) {
  const bool pinyinChoices = direction == Direction::kHanziToPinyin;
  const std::deque<std::u16string>& pool = pinyinChoices ? pinyinPool_ : hanziPool_;
  ChoiceSet choices(right);
  for (int draw = 0; draw < kMaxChoiceDraws && !choices.full(); ++draw) {
    choices.Offer(pool[static_cast<size_t>(random_.Draw()) % pool.size()]);
  }
  // The draw is bounded: a pool of repeated entries may not hold four different wrong choices.
  // Complete from the pool in order, then from the words of the sentences searched (their
  // pinyin for pinyin choices), then from the corpus's Chinese word list, then the first entries.
  for (const std::u16string& entry : pool) choices.Offer(entry);
  for (const ResultSentence& sentence : sentences) {
    if (choices.full()) break;
    const FieldList hanzi = SplitString(sentence.chinese, kSpace);
    const FieldList pinyin = SplitString(sentence.pinyin, kSpace);
    for (size_t j = 0; j < hanzi.size() && j < pinyin.size(); ++j) {
      if (!IsSyllableGroup(hanzi[j], pinyin[j])) continue;
      choices.Offer(pinyinChoices ? std::u16string_view(pinyin[j]) : std::u16string_view(hanzi[j]));
    }
  }
  if (!pinyinChoices) {
    const StringList& chineseWords = corpus_.chineseWords();
    for (size_t k = 0; k < chineseWords.size() && !choices.full(); ++k) {
      if (StartsWithIdeograph(chineseWords[k])) choices.Offer(chineseWords[k]);
    }
    for (std::u16string_view entry : kInitialHanzi) choices.Offer(entry);
  } else {
    for (std::u16string_view entry : kInitialPinyin) choices.Offer(entry);
  }
  return choices.Take();
}

WordTestScore WordTestEngine::Check(int chosenIndex) {
  const bool right = chosenIndex == answerIndex_;
  if (right) ++correctCount_;
  ++totalCount_;
  const double percentage = correctCount_ * 100.0 / totalCount_;

  WordTestScore score;
  score.letter = std::u16string(1, static_cast<char16_t>(u'A' + answerIndex_));
  score.verdict = right ? kVerdictRight : kVerdictWrong;
  score.counts = FormatDecimal(correctCount_) + u"/" + FormatDecimal(totalCount_);
  char text[32];
  std::snprintf(text, sizeof text, "%4.2f", percentage);
  score.percentage = Ascii(text);
  score.meter = percentage >= 100 ? 10 : static_cast<int>(percentage) / 10;
  return score;
}

}  // namespace tamrel
