#!/usr/bin/env python3
"""Measures how well stems merge the forms of one lemma and keep lemmas apart.

Reads a gold-lemma text (see gold-ru.txt for its format), stems every token with
mhelper-stem and prints, for lower-casing only, the Snowball rules alone (the tool
with no usable data file) and the library with its dictionary:

- merge recall: of all pairs of tokens with one gold lemma and different forms, the
  share whose stems are equal;
- split precision: the share of tokens whose stem belongs mostly to their own lemma
  (for every stem, the tokens of its most frequent lemma count as right);
- strict precision: the share of tokens whose stem is reached by one lemma only;
- F: the harmonic mean of merge recall and split precision.

All figures are token-weighted: a word that occurs often counts as often.

usage: measure_quality.py MHELPER_STEM DATAFILE [GOLD]
"""
import collections
import os
import subprocess
import sys


def normalise(s):
    return s.lower().replace("ё", "е")


def read_gold(path):
    tokens = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            for item in line.split():
                form, _, lemma = item.partition("/")
                tokens.append((form.lower(), normalise(lemma or form)))
    return tokens


def stems_of(tool, data, forms):
    text = "".join(f + "\n" for f in forms)
    out = subprocess.run([tool, data], input=text.encode(), capture_output=True, check=True).stdout
    stems = out.decode().split("\n")[: len(forms)]
    if len(stems) != len(forms):
        sys.exit("mhelper-stem returned %d stems for %d words" % (len(stems), len(forms)))
    return stems


def score(tokens, stems):
    by_lemma = collections.defaultdict(collections.Counter)  # lemma -> form -> count
    pairs_total = pairs_merged = 0
    stem_lemmas = collections.defaultdict(collections.Counter)  # stem -> lemma -> count
    for (form, lemma), stem in zip(tokens, stems):
        stem_lemmas[stem][lemma] += 1
    form_stem = {}
    for (form, lemma), stem in zip(tokens, stems):
        by_lemma[lemma][form] += 1
        form_stem[(form, lemma)] = stem
    for lemma, forms in by_lemma.items():
        items = list(forms.items())
        for i in range(len(items)):
            for j in range(i + 1, len(items)):
                n = items[i][1] * items[j][1]
                pairs_total += n
                if form_stem[(items[i][0], lemma)] == form_stem[(items[j][0], lemma)]:
                    pairs_merged += n
    total = len(tokens)
    majority = sum(max(c.values()) for c in stem_lemmas.values())
    strict = sum(sum(c.values()) for c in stem_lemmas.values() if len(c) == 1)
    recall = pairs_merged / pairs_total if pairs_total else 1.0
    precision = majority / total
    f = 2 * recall * precision / (recall + precision) if recall + precision else 0.0
    return recall, precision, strict / total, f


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    tool, data = sys.argv[1], sys.argv[2]
    gold = sys.argv[3] if len(sys.argv) > 3 else os.path.join(os.path.dirname(__file__), "gold-ru.txt")
    tokens = read_gold(gold)
    forms = [f for f, _ in tokens]
    lemmas = len(set(l for _, l in tokens))
    print("%d tokens, %d gold lemmas" % (len(tokens), lemmas))
    print("%-22s %8s %9s %8s %8s" % ("stemmer", "recall", "precision", "strict", "F"))
    runs = [
        ("lower-casing only", [normalise(f) for f in forms]),
        ("Snowball alone", stems_of(tool, os.devnull + ".missing", forms)),
        ("mhelper", stems_of(tool, data, forms)),
    ]
    for name, stems in runs:
        r, p, s, f = score(tokens, stems)
        print("%-22s %8.3f %9.3f %8.3f %8.3f" % (name, r, p, s, f))
    if "-v" in sys.argv:
        stems = runs[-1][1]
        for (form, lemma), stem in zip(tokens, stems):
            print(form, lemma, stem, sep="\t")


if __name__ == "__main__":
    main()
