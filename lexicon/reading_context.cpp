#include "lexicon/reading_context.h"

#include <cstddef>

#include "lexicon/segmenter.h"
#include "text/code_points.h"

namespace tamrel {

namespace {

// What the word before or after the one read must be. `words` is a list separated by single
// spaces, where three marks stand for kinds of words:
//   #  a numeral or a demonstrative that takes a measure word (一, 两, 三, 几, 这, 那, 每, 哪, 各,
//      and any number token): 一只 yī zhī, 这种 zhè zhǒng;
//   *  any Chinese word;
//   $  no Chinese word: punctuation, a Latin word or number, or the end of the line.
struct Neighbour {
  enum class Side { kNone, kBefore, kAfter } side = Side::kNone;
  std::u16string_view words;
  bool negated = false;  // the neighbour must not be one of `words`
};

struct Rule {
  std::u16string_view word;
  std::u16string_view reading;
  Neighbour first;
  Neighbour second;  // both must hold
};

using Side = Neighbour::Side;

// Degree words before an adjective: 长 after them is cháng, "long".
constexpr std::u16string_view kDegree =
    u"很 太 多 更 最 挺 真 好 够 较 极 不 这么 那么 多么 非常 特别 比较 相当 十分 有点 有点儿 越来越 不够 那样 "
    u"这样";
// Who may "have to" (得 děi) or "catch, get" (得了 dé le).
constexpr std::u16string_view kSubjects = u"我 你 他 她 它 您 咱 我们 你们 他们 她们 它们 咱们 大家 谁 自己 别人 人";
// What one plants: 种 before them is zhòng, "to plant".
constexpr std::u16string_view kPlanted =
    u"树 花 菜 草 地 田 稻 麦 瓜 豆 麦子 稻子 豆子 小麦 水稻 玉米 土豆 蔬菜 水果 果树 树苗 花草 庄稼 粮食 棉花 "
    u"西瓜 苹果 葡萄 竹子 番茄 西红柿 白菜 萝卜 种子 药材 茶 茶树 花生 辣椒 南瓜 黄瓜 土豆儿 草莓 向日葵 "
    u"了 着 过 出 满 上 下 好 完 在 得";

// First rule that holds wins. The lexicon's common readings are 长 cháng, 得 de, 地 de, 只 zhǐ,
// 还 hái and 种 zhǒng; the rules give the other reading where the words around call for it, and
// state the common one again where an earlier reading would be wrong.
constexpr Rule kRules[] = {
    {u"长", u"cháng", {Side::kBefore, kDegree}, {}},
    {u"长", u"zhǎng", {Side::kAfter, u"了 着 过 出 成 高 大 胖 满 得 在 这么 那么 回来 起来 出来"}, {}},
    {u"得", u"dé", {Side::kBefore, kSubjects}, {Side::kAfter, u"了"}},
    {u"得", u"děi", {Side::kBefore, kSubjects}, {Side::kAfter, u"*"}},
    {u"得", u"děi", {Side::kBefore, u"就 还 也 都 总 又 可 才 那 总是 还是 必须 恐怕 非"}, {Side::kAfter, u"*"}},
    {u"地", u"dì", {Side::kBefore, u"# 块 片 在 的 到 土 草 扫 种 满 耕"}, {}},
    {u"地", u"dì", {Side::kAfter, u"$"}, {}},
    {u"只", u"zhī", {Side::kBefore, u"# 半 好几 哪 某"}, {}},
    {u"还", u"huán", {Side::kAfter, u"给 钱 债 账 清 款 贷款 回"}, {}},
    {u"种", u"zhòng", {Side::kBefore, u"# 多 这么 那么 某 有 什么 另 另一 同 一样", true}, {Side::kAfter, kPlanted}},
};

bool IsChineseWord(std::u16string_view word) { return !word.empty() && IsHan(CodePointAt(word, 0).value); }

bool IsDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

// A numeral or demonstrative that a measure word follows: a number token, or a word whose last
// character is a Chinese numeral or one of 这 那 每 哪 几 各 (这三, 第一, 几).
bool IsCounted(std::u16string_view word) {
  if (word.empty()) return false;
  if (IsDigit(word.back())) return true;
  const char16_t last = word.back();
  if (IsChineseNumeral(last)) return true;
  return std::u16string_view(u"这那每哪几各").find(last) != std::u16string_view::npos;
}

bool InList(std::u16string_view list, std::u16string_view word) {
  for (size_t at = 0; at <= list.size();) {
    size_t end = list.find(u' ', at);
    if (end == std::u16string_view::npos) end = list.size();
    if (list.substr(at, end - at) == word) return true;
    at = end + 1;
  }
  return false;
}

// Whether `word` (empty at the line's ends) is one the neighbour condition names.
bool Names(const Neighbour& n, std::u16string_view word) {
  bool named = false;
  if (!IsChineseWord(word)) {
    named = InList(n.words, u"$") || (InList(n.words, u"#") && IsCounted(word));
  } else {
    named = InList(n.words, u"*") || InList(n.words, word) || (InList(n.words, u"#") && IsCounted(word));
  }
  return named != n.negated;
}

bool Holds(const Neighbour& n, const std::vector<std::u16string_view>& words, size_t i) {
  switch (n.side) {
    case Side::kNone:
      return true;
    case Side::kBefore:
      return Names(n, i > 0 ? words[i - 1] : std::u16string_view());
    case Side::kAfter:
      return Names(n, i + 1 < words.size() ? words[i + 1] : std::u16string_view());
  }
  return false;
}

// A word that ends in a measure after a numeral (一只, 两只, 这三只) reads its measure as the
// measure: zhī, not the lexicon's zhǐ "only" that the characters' readings gave it.
void ReadCountedMeasure(std::u16string_view word, std::u16string& reading) {
  if (word.size() < 2 || word.back() != u'只' || !IsCounted(word.substr(0, word.size() - 1))) return;
  constexpr std::u16string_view kOnly = u"zhǐ";
  if (reading.size() >= kOnly.size() && std::u16string_view(reading).substr(reading.size() - kOnly.size()) == kOnly) {
    reading.replace(reading.size() - kOnly.size(), kOnly.size(), u"zhī");
  }
}

}  // namespace

void ApplyReadingContext(const std::vector<std::u16string_view>& words, std::vector<std::u16string>& readings) {
  for (size_t i = 0; i < words.size() && i < readings.size(); ++i) {
    ReadCountedMeasure(words[i], readings[i]);
    for (const Rule& rule : kRules) {
      if (rule.word != words[i] || !Holds(rule.first, words, i) || !Holds(rule.second, words, i)) continue;
      readings[i] = rule.reading;
      break;
    }
  }
}

}  // namespace tamrel
