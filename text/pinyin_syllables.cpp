#include "text/pinyin_syllables.h"

#include <unordered_set>

namespace tamrel {

namespace {

// Every syllable of standard Mandarin in Hanyu Pinyin, ü written v; lue and nue are the common
// spellings of lüe and nüe. "r" is the erhua ending, allowed only after another syllable.
constexpr std::u16string_view kSyllables =
    u"a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu ca cai can cang cao ce "
    u"cen ceng cha chai chan chang chao che chen cheng chi chong chou chu chua chuai chuan chuang chui chun chuo "
    u"ci cong cou cu cuan cui cun cuo da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou "
    u"du duan dui dun duo e ei en eng er fa fan fang fei fen feng fo fou fu ga gai gan gang gao ge gei gen geng "
    u"gong gou gu gua guai guan guang gui gun guo ha hai han hang hao he hei hen heng hong hou hu hua huai huan "
    u"huang hui hun huo ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun ka kai kan kang kao ke kei "
    u"ken keng kong kou ku kua kuai kuan kuang kui kun kuo la lai lan lang lao le lei leng li lia lian liang liao "
    u"lie lin ling liu lo long lou lu luan lun luo lv lve lue ma mai man mang mao me mei men meng mi mian miao "
    u"mie min ming miu mo mou mu na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong "
    u"nou nu nuan nuo nv nve nue o ou pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu qi qia "
    u"qian qiang qiao qie qin qing qiong qiu qu quan que qun ran rang rao re ren reng ri rong rou ru rua ruan "
    u"rui run ruo sa sai san sang sao se sen seng sha shai shan shang shao she shei shen sheng shi shou shu shua "
    u"shuai shuan shuang shui shun shuo si song sou su suan sui sun suo ta tai tan tang tao te teng ti tian tiao "
    u"tie ting tong tou tu tuan tui tun tuo wa wai wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin "
    u"xing xiong xiu xu xuan xue xun ya yan yang yao ye yi yin ying yong you yu yuan yue yun za zai zan zang zao "
    u"ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua zhuai zhuan zhuang "
    u"zhui zhun zhuo zi zong zou zu zuan zui zun zuo r";

constexpr size_t kLongestSyllable = 6;  // zhuang, chuang, shuang

const std::unordered_set<std::u16string_view>& SyllableSet() {
  static const std::unordered_set<std::u16string_view> set = [] {
    std::unordered_set<std::u16string_view> s;
    size_t p = 0;
    while (p < kSyllables.size()) {
      const size_t end = std::min(kSyllables.find(u' ', p), kSyllables.size());
      s.insert(kSyllables.substr(p, end - p));
      p = end + 1;
    }
    return s;
  }();
  return set;
}

// Letters between separators, with the tone mark of each.
struct Run {
  std::u16string letters;
  std::vector<int> marks;
};

// Cuts `run` into syllables and appends them; false when it does not cut. The syllable taken at
// each point is the longest whose rest still cuts (found by a pass from the end), so xian stays
// one syllable while xīān, with two marks, becomes xī ān.
bool CutRun(Run& run, int digitTone, PinyinText& out, size_t maxSyllables) {
  std::u16string& l = run.letters;
  for (size_t i = 1; i < l.size(); ++i) {
    const char16_t before = l[i - 1];
    if (l[i] == u'v' && (before == u'j' || before == u'q' || before == u'x' || before == u'y')) l[i] = u'u';
  }
  const size_t n = l.size();
  std::vector<size_t> take(n + 1, 0);  // the syllable length chosen at each point; 0: no cut
  std::vector<bool> cuts(n + 1, false);
  cuts[n] = true;
  for (size_t i = n; i-- > 0;) {
    int marked = 0;
    for (size_t len = 1; len <= kLongestSyllable && i + len <= n; ++len) {
      if (run.marks[i + len - 1] != 0) ++marked;
      if (marked > 1) break;
      const std::u16string_view s(l.data() + i, len);
      if (!cuts[i + len] || !IsPinyinSyllable(s) || (s == u"r" && i == 0)) continue;
      take[i] = len;  // longer ones come later and win
      cuts[i] = true;
    }
  }
  if (!cuts[0]) return false;
  for (size_t i = 0; i < n; i += take[i]) {
    if (out.syllables.size() >= maxSyllables) return false;
    PinyinSyllable syllable;
    syllable.letters = l.substr(i, take[i]);
    if (syllable.letters == u"lue" || syllable.letters == u"nue") syllable.letters[1] = u'v';
    for (size_t k = i; k < i + take[i]; ++k) syllable.tone = std::max(syllable.tone, run.marks[k]);
    const bool last = i + take[i] == n;
    if (last && digitTone != 0) {
      if (syllable.tone != 0 && syllable.tone != digitTone) return false;
      syllable.tone = digitTone;
    }
    out.toned = out.toned || syllable.tone != 0;
    out.syllables.push_back(std::move(syllable));
  }
  return true;
}

}  // namespace

// The base letter and tone of a letter with or without a tone mark; nullopt for anything else.
std::optional<PinyinLetter> ReadPinyinLetter(char16_t c) {
  if (c >= u'a' && c <= u'z') return PinyinLetter{static_cast<char>(c), 0};
  if (c >= u'A' && c <= u'Z') return PinyinLetter{static_cast<char>(c - u'A' + u'a'), 0};
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
    if (c == m.lower || c == m.upper) return PinyinLetter{m.base, m.tone};
  }
  return std::nullopt;
}

// The tone a combining mark after a letter gives (U+0308, the diaeresis, makes "u" into "ü": -1).
int CombiningPinyinMark(char16_t c) {
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

bool IsPinyinSyllable(std::u16string_view letters) { return SyllableSet().contains(letters); }

std::optional<PinyinText> ReadPinyin(std::u16string_view text, size_t maxSyllables) {
  // Each letter makes at most one syllable: a text far longer than the limit is refused unread.
  if (text.size() > maxSyllables * (kLongestSyllable + 2)) return std::nullopt;
  PinyinText out;
  Run run;
  const auto flush = [&](int digitTone) {
    if (run.letters.empty()) return true;
    const bool cut = CutRun(run, digitTone, out, maxSyllables);
    run = Run();
    return cut;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (const auto letter = ReadPinyinLetter(c)) {
      if (letter->base == u'u' && letter->tone == 0 && i + 1 < text.size() && text[i + 1] == u':') {
        run.letters.push_back(u'v');
        ++i;
      } else {
        run.letters.push_back(letter->base);
      }
      run.marks.push_back(letter->tone);
    } else if (const int mark = CombiningPinyinMark(c); mark > 0) {
      if (run.marks.empty() || run.marks.back() != 0) return std::nullopt;
      run.marks.back() = mark;
    } else if (mark < 0 && !run.letters.empty() && run.letters.back() == u'u') {
      run.letters.back() = u'v';
    } else if (c >= u'1' && c <= u'5') {
      if (run.letters.empty() || !flush(c - u'0')) return std::nullopt;
    } else if (c == u' ' || c == u'\'' || c == 0x2019) {
      if (!flush(0)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!flush(0) || out.syllables.empty()) return std::nullopt;
  return out;
}

bool SyllablesMatch(const std::vector<PinyinSyllable>& have, const std::vector<PinyinSyllable>& typed, size_t first,
                    size_t count, bool withTones) {
  if (have.size() != count || first > typed.size() || count > typed.size() - first) return false;
  const auto tone = [](int t) { return t == 0 ? 5 : t; };
  for (size_t k = 0; k < count; ++k) {
    const PinyinSyllable& want = typed[first + k];
    if (want.letters != have[k].letters || (withTones && tone(want.tone) != tone(have[k].tone))) return false;
  }
  return true;
}

std::u16string TonelessLetters(const std::vector<PinyinSyllable>& syllables) {
  std::u16string letters;
  for (const PinyinSyllable& s : syllables) letters += s.letters;
  return letters;
}

}  // namespace tamrel
