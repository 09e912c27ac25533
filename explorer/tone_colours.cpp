#include "explorer/tone_colours.h"

#include <optional>
#include <string>
#include <unordered_set>

#include "corpus/text_utils.h"

namespace tamrel {

namespace {

// Every syllable of Standard Mandarin without tone, "v" standing for "ü", and the interjections
// and the erhua "r" that the corpus writes as syllables of their own.
const std::unordered_set<std::string>& Syllables() {
  static const std::unordered_set<std::string> syllables = [] {
    constexpr std::string_view kAll =
        "a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can cang cao ce cei "
        "cen ceng cha chai chan chang chao che chen cheng chi chong chou chu chua chuai chuan chuang chui chun chuo ci "
        "cong cou cu cuan cui cun cuo da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du "
        "duan dui dun duo e ei en eng er fa fan fang fei fen feng fo fou fu ga gai gan gang gao ge gei gen geng gong "
        "gou gu gua guai guan guang gui gun guo ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang "
        "hui hun huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun ka kai kan kang kao ke kei ken keng "
        "kong kou ku kua kuai kuan kuang kui kun kuo la lai lan lang lao le lei leng li lia lian liang liao lie lin "
        "ling liu lo long lou lu luan lun luo lv lve ma mai man mang mao me mei men meng mi mian miao mie min ming miu "
        "mo mou mu na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong nou nu nuan nuo nv nve "
        "o ou pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao qie qin qing "
        "qiong qiu qu quan que qun ran rang rao re ren reng ri rong rou ru rua ruan rui run ruo sa sai san sang sao se "
        "sen seng sha shai shan shang shao she shei shen sheng shi shou shu shua shuai shuan shuang shui shun shuo si "
        "song sou su suan sui sun suo ta tai tan tang tao te tei teng ti tian tiao tie ting tong tou tu tuan tui tun "
        "tuo wa wai wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun ya yan "
        "yang yao ye yi yin ying yo yong you yu yuan yue yun za zai zan zang zao ze zei zen zeng zha zhai zhan zhang "
        "zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui "
        "zun zuo r m n ng hm hng";
    std::unordered_set<std::string> set;
    ForEachField<char>(kAll, " ", [&](std::string_view s) { set.emplace(s); });
    return set;
  }();
  return syllables;
}

constexpr size_t kLongestSyllable = 6;  // "zhuang"
// Longer tokens are not pinyin of one word; they are left without tones rather than searched.
constexpr size_t kLongestToken = 64;

// One letter of a token as the syllable table spells it, with the tone its mark gives.
struct Letter {
  char base;
  int tone;  // 0: no mark
};

// The base letter and tone of a letter with or without a tone mark; nullopt for anything else.
std::optional<Letter> ReadLetter(char16_t c) {
  if (c >= u'a' && c <= u'z') return Letter{static_cast<char>(c), 0};
  if (c >= u'A' && c <= u'Z') return Letter{static_cast<char>(c - u'A' + u'a'), 0};
  struct Marked {
    char16_t lower;
    char16_t upper;
    char base;
    int tone;
  };
  static constexpr Marked kMarked[] = {
      {u'ā', u'Ā', 'a', 1}, {u'á', u'Á', 'a', 2}, {u'ǎ', u'Ǎ', 'a', 3}, {u'à', u'À', 'a', 4}, {u'ē', u'Ē', 'e', 1},
      {u'é', u'É', 'e', 2}, {u'ě', u'Ě', 'e', 3}, {u'è', u'È', 'e', 4}, {u'ī', u'Ī', 'i', 1}, {u'í', u'Í', 'i', 2},
      {u'ǐ', u'Ǐ', 'i', 3}, {u'ì', u'Ì', 'i', 4}, {u'ō', u'Ō', 'o', 1}, {u'ó', u'Ó', 'o', 2}, {u'ǒ', u'Ǒ', 'o', 3},
      {u'ò', u'Ò', 'o', 4}, {u'ū', u'Ū', 'u', 1}, {u'ú', u'Ú', 'u', 2}, {u'ǔ', u'Ǔ', 'u', 3}, {u'ù', u'Ù', 'u', 4},
      {u'ǖ', u'Ǖ', 'v', 1}, {u'ǘ', u'Ǘ', 'v', 2}, {u'ǚ', u'Ǚ', 'v', 3}, {u'ǜ', u'Ǜ', 'v', 4}, {u'ü', u'Ü', 'v', 0},
      {u'ń', u'Ń', 'n', 2}, {u'ň', u'Ň', 'n', 3}, {u'ǹ', u'Ǹ', 'n', 4}, {u'ḿ', u'Ḿ', 'm', 2},
  };
  for (const Marked& m : kMarked) {
    if (c == m.lower || c == m.upper) return Letter{m.base, m.tone};
  }
  return std::nullopt;
}

// The tone a combining mark after a letter gives (U+0308, the diaeresis, makes "u" into "ü": -1).
int CombiningTone(char16_t c) {
  switch (c) {
    case 0x0304:
      return 1;
    case 0x0301:
      return 2;
    case 0x030C:
      return 3;
    case 0x0300:
      return 4;
    case 0x0308:
      return -1;
    default:
      return 0;
  }
}

// A token read as units: letters (with their marks), tone digits and apostrophes.
struct Unit {
  enum class Kind { kLetter, kDigit, kApostrophe } kind;
  char base = 0;
  int tone = 0;
  size_t start = 0;
  size_t end = 0;
};

std::optional<std::vector<Unit>> ReadUnits(std::u16string_view token) {
  std::vector<Unit> units;
  for (size_t i = 0; i < token.size(); ++i) {
    const char16_t c = token[i];
    if (const int mark = CombiningTone(c); mark != 0) {
      if (units.empty() || units.back().kind != Unit::Kind::kLetter) return std::nullopt;
      Unit& letter = units.back();
      if (mark == -1) {
        if (letter.base != 'u') return std::nullopt;
        letter.base = 'v';
      } else {
        // Tone marks sit on vowels (and on the nasal interjections m and n).
        if (letter.tone != 0 || std::string_view("aeiouvmn").find(letter.base) == std::string_view::npos) {
          return std::nullopt;
        }
        letter.tone = mark;
      }
      letter.end = i + 1;
    } else if (const auto letter = ReadLetter(c)) {
      units.push_back({Unit::Kind::kLetter, letter->base, letter->tone, i, i + 1});
    } else if (c >= u'1' && c <= u'5') {
      units.push_back({Unit::Kind::kDigit, 0, c - u'0', i, i + 1});
    } else if (c == u'\'' || c == u'\u2019') {
      units.push_back({Unit::Kind::kApostrophe, 0, 0, i, i + 1});
    } else {
      return std::nullopt;
    }
  }
  return units;
}

class Splitter {
 public:
  explicit Splitter(const std::vector<Unit>& units) : units_(units) {}

  // Splits units [from, end) into `count` syllables, appending them to out_; false when it cannot.
  bool Split(size_t from, size_t count) {
    if (from < units_.size() && units_[from].kind == Unit::Kind::kApostrophe && from > 0) ++from;
    if (count == 0) return from == units_.size();
    if (from >= units_.size()) return false;
    const size_t key = from * (kLongestToken + 1) + count;
    if (failed_.contains(key)) return false;
    std::string base;
    int tone = 0;
    size_t marks = 0;
    std::vector<std::pair<size_t, int>> candidates;  // (units used, tone), shortest first
    for (size_t i = from; i < units_.size() && i - from < kLongestSyllable; ++i) {
      const Unit& u = units_[i];
      if (u.kind != Unit::Kind::kLetter) break;
      base.push_back(u.base);
      if (u.tone != 0) {
        ++marks;
        tone = u.tone;
      }
      if (marks <= 1 && Syllables().contains(base)) candidates.emplace_back(i + 1 - from, tone);
    }
    for (auto it = candidates.rbegin(); it != candidates.rend(); ++it) {
      size_t end = from + it->first;
      int syllableTone = it->second;
      if (end < units_.size() && units_[end].kind == Unit::Kind::kDigit) {
        if (syllableTone != 0) continue;  // a mark and a digit on one syllable
        syllableTone = units_[end].tone;
        ++end;
      }
      out_.push_back(
          {units_[from].start, units_[end - 1].end - units_[from].start, syllableTone == 0 ? 5 : syllableTone});
      if (Split(end, count - 1)) return true;
      out_.pop_back();
    }
    failed_.insert(key);
    return false;
  }

  std::vector<PinyinSyllable> out_;

 private:
  const std::vector<Unit>& units_;
  std::unordered_set<size_t> failed_;
};

}  // namespace

std::vector<PinyinSyllable> SplitPinyinSyllables(std::u16string_view token, size_t count) {
  if (count == 0 || token.size() > kLongestToken || count > token.size()) return {};
  const auto units = ReadUnits(token);
  if (!units || units->empty() || units->front().kind == Unit::Kind::kApostrophe) return {};
  Splitter splitter(*units);
  if (!splitter.Split(0, count)) return {};
  return std::move(splitter.out_);
}

std::vector<PinyinSyllable> AlignTones(std::u16string_view word, std::u16string_view pinyin) {
  size_t characters = 0;
  for (size_t i = 0; i < word.size(); i += PairStartsAt(word, i) ? 2 : 1) ++characters;
  return SplitPinyinSyllables(pinyin, characters);
}

}  // namespace tamrel
