#include "lexicon/english_base_forms.h"

#include <unordered_map>

namespace tamrel {

namespace {

// Common irregular verb and noun forms with their base form.
constexpr std::u16string_view kIrregular[][2] = {
    {u"am", u"be"},
    {u"is", u"be"},
    {u"are", u"be"},
    {u"was", u"be"},
    {u"were", u"be"},
    {u"been", u"be"},
    {u"being", u"be"},
    {u"has", u"have"},
    {u"had", u"have"},
    {u"does", u"do"},
    {u"did", u"do"},
    {u"done", u"do"},
    {u"went", u"go"},
    {u"gone", u"go"},
    {u"goes", u"go"},
    {u"ate", u"eat"},
    {u"eaten", u"eat"},
    {u"saw", u"see"},
    {u"seen", u"see"},
    {u"came", u"come"},
    {u"took", u"take"},
    {u"taken", u"take"},
    {u"gave", u"give"},
    {u"given", u"give"},
    {u"got", u"get"},
    {u"gotten", u"get"},
    {u"made", u"make"},
    {u"said", u"say"},
    {u"knew", u"know"},
    {u"known", u"know"},
    {u"thought", u"think"},
    {u"told", u"tell"},
    {u"found", u"find"},
    {u"became", u"become"},
    {u"left", u"leave"},
    {u"felt", u"feel"},
    {u"brought", u"bring"},
    {u"began", u"begin"},
    {u"begun", u"begin"},
    {u"kept", u"keep"},
    {u"held", u"hold"},
    {u"wrote", u"write"},
    {u"written", u"write"},
    {u"stood", u"stand"},
    {u"heard", u"hear"},
    {u"meant", u"mean"},
    {u"met", u"meet"},
    {u"ran", u"run"},
    {u"paid", u"pay"},
    {u"sat", u"sit"},
    {u"spoke", u"speak"},
    {u"spoken", u"speak"},
    {u"led", u"lead"},
    {u"grew", u"grow"},
    {u"grown", u"grow"},
    {u"lost", u"lose"},
    {u"fell", u"fall"},
    {u"fallen", u"fall"},
    {u"sent", u"send"},
    {u"built", u"build"},
    {u"understood", u"understand"},
    {u"drew", u"draw"},
    {u"drawn", u"draw"},
    {u"broke", u"break"},
    {u"broken", u"break"},
    {u"spent", u"spend"},
    {u"rose", u"rise"},
    {u"risen", u"rise"},
    {u"drove", u"drive"},
    {u"driven", u"drive"},
    {u"bought", u"buy"},
    {u"wore", u"wear"},
    {u"worn", u"wear"},
    {u"chose", u"choose"},
    {u"chosen", u"choose"},
    {u"threw", u"throw"},
    {u"thrown", u"throw"},
    {u"caught", u"catch"},
    {u"won", u"win"},
    {u"forgot", u"forget"},
    {u"forgotten", u"forget"},
    {u"slept", u"sleep"},
    {u"sold", u"sell"},
    {u"taught", u"teach"},
    {u"fought", u"fight"},
    {u"flew", u"fly"},
    {u"flown", u"fly"},
    {u"sang", u"sing"},
    {u"sung", u"sing"},
    {u"swam", u"swim"},
    {u"drank", u"drink"},
    {u"drunk", u"drink"},
    {u"hid", u"hide"},
    {u"hidden", u"hide"},
    {u"bit", u"bite"},
    {u"bitten", u"bite"},
    {u"fed", u"feed"},
    {u"rode", u"ride"},
    {u"ridden", u"ride"},
    {u"shook", u"shake"},
    {u"stole", u"steal"},
    {u"stolen", u"steal"},
    {u"woke", u"wake"},
    {u"froze", u"freeze"},
    {u"frozen", u"freeze"},
    {u"blew", u"blow"},
    {u"blown", u"blow"},
    {u"hung", u"hang"},
    {u"lent", u"lend"},
    {u"dug", u"dig"},
    {u"shot", u"shoot"},
    {u"struck", u"strike"},
    {u"tore", u"tear"},
    {u"torn", u"tear"},
    {u"sought", u"seek"},
    {u"children", u"child"},
    {u"men", u"man"},
    {u"women", u"woman"},
    {u"people", u"person"},
    {u"feet", u"foot"},
    {u"teeth", u"tooth"},
    {u"mice", u"mouse"},
    {u"geese", u"goose"},
    {u"knives", u"knife"},
    {u"wives", u"wife"},
    {u"lives", u"life"},
    {u"leaves", u"leaf"},
    {u"halves", u"half"},
    {u"wolves", u"wolf"},
    {u"shelves", u"shelf"},
    {u"potatoes", u"potato"},
    {u"tomatoes", u"tomato"},
    {u"heroes", u"hero"},
    {u"better", u"good"},
    {u"best", u"good"},
    {u"worse", u"bad"},
    {u"worst", u"bad"},
};

bool IsVowel(char16_t c) { return c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u'; }

bool EndsWith(std::u16string_view word, std::u16string_view end) {
  return word.size() > end.size() && word.substr(word.size() - end.size()) == end;
}

// A stem that ends in a doubled consonant (stopp, runn) without its last letter.
void AddUndoubled(std::u16string_view stem, std::vector<std::u16string>& out) {
  const size_t n = stem.size();
  if (n >= 3 && stem[n - 1] == stem[n - 2] && !IsVowel(stem[n - 1])) out.emplace_back(stem.substr(0, n - 1));
}

}  // namespace

std::vector<std::u16string> EnglishBaseForms(std::u16string_view word) {
  std::vector<std::u16string> out;
  for (char16_t c : word) {
    if (c < u'a' || c > u'z') return out;
  }
  static const std::unordered_map<std::u16string_view, std::u16string_view> irregular = [] {
    std::unordered_map<std::u16string_view, std::u16string_view> map;
    for (const auto& [form, base] : kIrregular) map.emplace(form, base);
    return map;
  }();
  if (const auto found = irregular.find(word); found != irregular.end()) out.emplace_back(found->second);

  // Stems shorter than three letters are left alone: "thing" is no form of "the".
  const auto stem = [&](size_t cut) { return word.substr(0, word.size() - cut); };
  if (EndsWith(word, u"ies") && word.size() > 4) out.push_back(std::u16string(stem(3)) + u"y");
  if (EndsWith(word, u"es") && word.size() >= 4) out.emplace_back(stem(1));  // makes, goes
  if (EndsWith(word, u"es") && word.size() > 4) out.emplace_back(stem(2));   // boxes, watches
  if (EndsWith(word, u"s") && !EndsWith(word, u"ss") && !EndsWith(word, u"es") && word.size() >= 4) {
    out.emplace_back(stem(1));  // cats, but not "is" or "us"
  }
  if (EndsWith(word, u"ied") && word.size() > 4) out.push_back(std::u16string(stem(3)) + u"y");
  if (EndsWith(word, u"ed") && word.size() >= 4) {
    out.emplace_back(stem(1));                        // used, liked
    if (word.size() >= 5) out.emplace_back(stem(2));  // walked, wanted
    AddUndoubled(stem(2), out);                       // stopped
  }
  if (EndsWith(word, u"ing") && word.size() >= 6) {
    out.emplace_back(stem(3));                      // walking
    out.push_back(std::u16string(stem(3)) + u"e");  // making
    AddUndoubled(stem(3), out);                     // running
  }
  return out;
}

}  // namespace tamrel
