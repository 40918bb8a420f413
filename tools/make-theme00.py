#!/usr/bin/env python3
"""Builds words/00 ("Всё одной кучей") as the union of themes 01, 02 and 03.

Rows of a family stay together (entry i of every file of the family), duplicates are dropped
by the family's first file, and the themes are interleaved row by row so that cutting a list
to its limit takes from every theme alike. The files of each family end up with equal counts:
    nouns: nounM/F/N and their forms, at most 333 per file
    adjectives: the nine adj files, at most 333
    verbs: verbP/N/F, at most 1000
    adverbs: adverb and advM/F/N (two independent lists of equal length), at most 666
    openers: intro, at most 3000
(zurevavud-cli --stats names 667 and 3001, the limits without an end-of-list "#" line; these
are one less, so that such a line still fits.)

Each theme keeps its own words apart: no adjective that is also one of its short adjectives,
no noun that shares its root with one of its verbs. Themes put together can break that, so
theme 00 leaves out every short adjective whose full form is one of its adjectives, and every
row named in tools/theme00-skip.txt ("stem: entry" of the family's first file, # comments).
The nouns and adjectives should fill all 333 rows; the script names each of their lists that
falls short after the skips (nounN 320: theme 00 then has 320 nouns of each gender), so that
01-03 can be given more words of that kind.

A pair of words of one root that a theme keeps as a joke (its same-root.txt, which
zurevavud-cli --stats reads) stays accepted in theme 00 when both words made it there.

Usage: tools/make-theme00.py [WORDS_DIR]
"""
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
words = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "words")
sources = ["01", "02", "03"]


def read(theme, stem):
    with open(os.path.join(words, theme, stem + ".dat"), "rb") as f:
        lines = f.read().decode("cp1251").split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    entries = []
    for line in lines[1:]:
        if line.startswith("#"):
            break
        entries.append(line)
    return lines[0], entries


def skipped():
    """{stem: {entry, ...}} from tools/theme00-skip.txt."""
    out = {}
    with open(os.path.join(here, "theme00-skip.txt"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                stem, entry = (part.strip() for part in line.split(":", 1))
                out.setdefault(stem, set()).add(entry.lower())
    return out


def rows(stems):
    """Per source theme, the list of rows (tuples over stems)."""
    per_theme = []
    for theme in sources:
        columns = [read(theme, s)[1] for s in stems]
        if len({len(c) for c in columns}) != 1:
            sys.exit(f"{theme}: {stems} have unequal counts")
        per_theme.append(list(zip(*columns)))
    return per_theme


def union(stems, leave_out=frozenset()):
    seen, out = set(leave_out), []
    per_theme = rows(stems)
    for i in range(max(len(r) for r in per_theme)):
        for r in per_theme:
            if i < len(r) and r[i][0].lower() not in seen:
                seen.add(r[i][0].lower())
                out.append(r[i])
    return out


def stems_of_adjective(word):
    """What its short forms are built on: "ленивый" -> {"ленив"}, "туманный" -> {"туманн",
    "туман"}, for the participles among them: "засекреченный", "засекречена"."""
    for ending in ("ый", "ий", "ой"):
        if word.endswith(ending):
            word = word[: -len(ending)]
            break
    return {word, word[:-1]} if word.endswith("нн") else {word}


def write(stem, entries):
    header = read("01", stem)[0]
    os.makedirs(os.path.join(words, "00"), exist_ok=True)
    with open(os.path.join(words, "00", stem + ".dat"), "wb") as f:
        f.write("\r\n".join([header] + list(entries) + [""]).encode("cp1251"))


short_of_limit = []


def emit(families, limit, leave_out=None):
    """families: lists of stems that must end with one common count."""
    leave_out = leave_out or {}
    unions = [union(stems, leave_out.get(stems[0], frozenset())) for stems in families]
    n = min(limit, *(len(u) for u in unions))
    short_of_limit.extend(f"{stems[0]} {len(u)}" for stems, u in zip(families, unions) if len(u) < limit)
    for stems, u in zip(families, unions):
        for k, stem in enumerate(stems):
            write(stem, [row[k] for row in u[:n]])
    return n


skip = skipped()
counts = {
    "nouns": emit([[g + d for d in ("", "1", "2")] for g in ("nounM", "nounF", "nounN")], 333, skip),
    "adjectives": emit([[g + d for g in ("adjM", "adjF", "adjN") for d in ("", "1", "2")]], 333, skip),
}
# The short adjectives whose full form made it into the adjectives of theme 00, by their
# feminine form: ленива, умна.
adjectives = set().union(*(stems_of_adjective(a.lower()) for a in read("00", "adjM")[1]))
short = {row[1].lower() for row in union(["advM", "advF", "advN"]) if row[1].lower()[:-1] in adjectives}
skip.setdefault("advM", set()).update(
    row[0].lower() for row in union(["advM", "advF", "advN"]) if row[1].lower() in short)
counts["verbs"] = emit([["verbP", "verbN", "verbF"]], 1000, skip)
counts["adverbs"] = emit([["adverb"], ["advM", "advF", "advN"]], 666, skip)
counts["openers"] = emit([["intro"]], 3000, skip)


def pair_word(text):
    """An entry as same-root.txt names it: case, ё and spaces do not matter."""
    return " ".join(text.split()).lower().replace("ё", "е")


def carry_accepted_pairs():
    """words/00/same-root.txt: the pairs 01-03 accept whose two words are both in theme 00."""
    in_00 = set()
    for stem in ("nounM", "nounF", "nounN", "adjM", "advM", "adverb", "verbN", "intro"):
        in_00 |= {pair_word(e) for e in read("00", stem)[1]}
    pairs = []
    for theme in sources:
        path = os.path.join(words, theme, "same-root.txt")
        if not os.path.exists(path):
            continue
        with open(path, encoding="utf-8") as f:
            for line in f:
                pair = line.split("#", 1)[0].strip()
                if pair.count("/") == 1 and all(pair_word(w) in in_00 for w in pair.split("/")):
                    if pair not in pairs:
                        pairs.append(pair)
    target = os.path.join(words, "00", "same-root.txt")
    if pairs:
        with open(target, "w", encoding="utf-8", newline="\n") as f:
            f.write("# Made by tools/make-theme00.py from the same-root.txt of themes 01-03.\n")
            f.write("".join(p + "\n" for p in pairs))
    elif os.path.exists(target):
        os.remove(target)
    return len(pairs)


counts["accepted pairs"] = carry_accepted_pairs()
print(", ".join(f"{k}: {v}" for k, v in counts.items()))
# Nouns and adjectives should fill their 333: name the lists that run short after the skips.
short_nouns = [s for s in short_of_limit if s.startswith(("noun", "adj"))]
if short_nouns:
    print("short of 333 after tools/theme00-skip.txt: " + ", ".join(short_nouns))
