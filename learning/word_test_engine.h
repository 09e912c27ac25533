// The Word Test's quiz without its window: the question drawing (a Chinese word of the bilingual
// corpus by level, an example sentence that holds it, the blanked lines), the two pools of wrong
// choices, the four choices and the score. Its random numbers come from QuizRandom, seeded from
// an injected millisecond tick count at every question, so a test fixes the whole draw.
// The engine keeps a reference to the corpus; the corpus must outlive it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/corpus_index.h"
#include "search/search_core.h"

namespace tamrel {

// A small linear congruential generator: state = state * 214013 + 2531011 (mod 2^32), each draw
// yields bits 16..30 of the new state, 0 to 32767.
class QuizRandom {
 public:
  void Seed(uint32_t seed) { state_ = seed; }
  int Draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 32767u);
  }

 private:
  uint32_t state_ = 1;
};

// The milliseconds of the steady clock since its start, cut to 32 bits: the engine's default seed.
uint32_t SteadyTickCount();

// Beginner draws from the 200 most frequent Chinese words and asks about the bare word; Normal
// from the next 800 and Expert from the next 9,000, both with the whole sentence around it.
enum class Level { kBeginner, kNormal, kExpert };
enum class Direction { kHanziToPinyin, kPinyinToHanzi };

inline constexpr size_t kPoolCapacity = 51;
inline constexpr int kMaxQuestionAttempts = 2000;
inline constexpr int kMaxChoiceDraws = 1000;
inline constexpr size_t kMinSentenceTokens = 4;
inline constexpr size_t kMaxSentenceTokens = 15;

// The worked example the dialog opens on; its right answer is choice A.
inline constexpr std::u16string_view kExampleQuestion = u"Example: 这是 [_猫_] 。";
inline constexpr std::u16string_view kNoQuestionText =
    u"No question could be found at this level in this corpus. Please choose another level.";
inline constexpr std::u16string_view kVerdictRight = u"Correct!! :-)";
inline constexpr std::u16string_view kVerdictWrong = u"Wrong!!!! :-(";

struct WordTestQuestion {
  std::u16string word;                    // the Chinese word asked about, as searched
  std::u16string rightPinyin;             // its pinyin in the chosen sentence (last occurrence)
  std::u16string questionLine;            // the question line: the Hanzi line, or the bare word/pinyin at level 0
  std::u16string sentenceLine;            // the line under it: the pinyin line, empty at level 0
  std::array<std::u16string, 4> choices;  // A, B, C, D
  int answerIndex = 0;                    // the position of the right answer in `choices`
  int attempts = 0;                       // attempts used, at most kMaxQuestionAttempts
};

struct WordTestScore {
  std::u16string letter;      // "A" to "D": the right choice
  std::u16string verdict;     // kVerdictRight or kVerdictWrong
  std::u16string counts;      // "correct/total"
  std::u16string percentage;  // correct * 100 / total with two decimals
  int meter = 0;              // 0 to 10
};

class WordTestEngine {
 public:
  using TickSource = std::function<uint32_t()>;

  explicit WordTestEngine(const CorpusIndex& corpus, TickSource tickCount = SteadyTickCount);

  // Seeds the generator from the tick count and draws a question for `level` in `direction`,
  // trying up to kMaxQuestionAttempts words; nothing when none gave a question. Every attempt
  // may add to the pools, even a rejected one. On success answerIndex() becomes the new right
  // position.
  std::optional<WordTestQuestion> NextQuestion(Level level, Direction direction);

  // Scores `chosenIndex` against the right position of the question on display.
  WordTestScore Check(int chosenIndex);

  // The level meter's position for `level`: 0, 1 or 2.
  static int LevelMeterPosition(Level level);

  // Adds `entry` at the front, dropping the last entry first when the pool is full.
  static void InsertIntoPool(std::deque<std::u16string>& pool, std::u16string_view entry);

  int answerIndex() const { return answerIndex_; }
  int totalCount() const { return totalCount_; }
  int correctCount() const { return correctCount_; }
  const std::deque<std::u16string>& hanziPool() const { return hanziPool_; }
  const std::deque<std::u16string>& pinyinPool() const { return pinyinPool_; }

 private:
  bool TryQuestion(Level level, Direction direction, WordTestQuestion& question,
                   std::vector<ResultSentence>& sentences);
  std::array<std::u16string, 4> DrawWrongChoices(Direction direction, std::u16string_view right,
                                                 const std::vector<ResultSentence>& sentences);

  const CorpusIndex& corpus_;
  TickSource tickCount_;
  QuizRandom random_;
  int answerIndex_ = 0;
  int totalCount_ = 0;
  int correctCount_ = 0;
  std::deque<std::u16string> hanziPool_;
  std::deque<std::u16string> pinyinPool_;
};

}  // namespace tamrel
