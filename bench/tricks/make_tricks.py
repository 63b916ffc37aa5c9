#!/usr/bin/env python3
"""Disguised copies of an essay, clean controls, and how the Check fares on them.

  make_tricks.py write ORIGINAL.txt DIR     writes DIR/<trick>.<format> for every trick
                                            and format, and DIR/clean-*.<format> controls
  make_tricks.py eval CHECK ORIGINAL.txt DIR
                                            runs CHECK (parafrix-check) --json on each file
                                            of DIR against ORIGINAL.txt and prints a table

A disguised copy is the original word for word, with one trick (or several, "mixed")
applied throughout. It passes when the Check gives at most 5 % originality with exact
matches and a "suspicious" entry of the trick's kind for the edited copy. A control is an
honest essay with Latin terms, Greek letters, Ukrainian words, no-break spaces and soft
hyphens from hyphenation; it passes when neither document gets a "suspicious" entry.
Formats: .txt, .docx, .odt, .rtf, all written here from scratch (standard library only).
"""
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

LATIN = dict(zip("аеорсхуАВЕКМНОРСТХ", "aeopcxyABEKMHOPCTX"))
GREEK = dict(zip("аоеАВЕКМНОРТХ", "αοεΑΒΕΚΜΗΟΡΤΧ"))
FILLERS = ["кстати", "впрочем", "собственно", "значит", "вообще", "итак", "пожалуй", "наверное"]
WORD = re.compile(r"\w+")


def swap_letters(text, table):
    return "".join(table.get(c, c) for c in text)


def inside_words(text, mark, min_length=4):
    """mark in the middle of every word of at least min_length letters."""
    return WORD.sub(lambda m: m.group(0) if len(m.group(0)) < min_length
                    else m.group(0)[:len(m.group(0)) // 2] + mark + m.group(0)[len(m.group(0)) // 2:], text)


def spaces(text, blank):
    return text.replace(" ", blank)


# Tricks that change the characters; each maps a paragraph to its disguise, with the
# kind the Check must report.
CHARACTER_TRICKS = {
    "latin": (lambda t: swap_letters(t, LATIN), "mixed_letters"),
    "latin-some": (lambda t: swap_letters(t, {"о": "o", "е": "e", "а": "a"}), "mixed_letters"),
    "greek": (lambda t: swap_letters(t, GREEK), "mixed_letters"),
    "zero-width-space": (lambda t: inside_words(t, "\u200b"), "invisible"),
    "zero-width-joiner": (lambda t: inside_words(t, "\u200d"), "invisible"),
    "word-joiner": (lambda t: inside_words(t, "\u2060"), "invisible"),
    "bom-inside": (lambda t: inside_words(t, "\ufeff"), "invisible"),
    "soft-hyphen": (lambda t: inside_words(t, "\u00ad", 3), "invisible"),
    "no-break-space": (lambda t: spaces(t, "\u00a0"), "odd_spaces"),
    "en-space": (lambda t: spaces(t, "\u2002"), "odd_spaces"),
    "braille-blank": (lambda t: spaces(t, "\u2800"), "odd_spaces"),
    "hangul-filler": (lambda t: spaces(t, "\u3164"), "odd_spaces"),
    "ideographic-space": (lambda t: spaces(t, "\u3000"), "odd_spaces"),
    "mixed": (lambda t: spaces(inside_words(swap_letters(t, LATIN), "\u200b", 6), "\u2800"),
              "mixed_letters invisible odd_spaces"),
}

# Hidden fillers, one after every third word: only the formatted formats can hide text.
HIDDEN_TRICKS = ["hidden", "white", "tiny"]

CLEAN = [
    "Запрос на языке SQL выполняется сервером за 5\u00a0мс, а ответ приходит по Wi-Fi на iPhone или по e-mail.",
    "В XIX веке химики уже знали формулу H2O, а в XX веке физики изучали α-частицы и число π.",
    "Подробности приведены на сайте https://example.org/page?id=7 и в журнале Nature за 2019\u00a0год.",
    "Украинские слова «їжак», «ґанок» и «Київ», белорусское «ўсё» и казахское «Қазақстан» пишутся кириллицей.",
    "Ин\u00adфор\u00adма\u00adция о би\u00adблио\u00adте\u00adках собрана в\u00a0таблице, которую составил А.\u00a0С.\u00a0Иванов.",
    "Витамин C и витамин D нужны организму, а где x и y — координаты точки на плоскости.",
]


VOWELS = set("аеёиоуыэюяАЕЁИОУЫЭЮЯ")


def typeset(text):
    """No-break spaces as a typesetting tool puts them: after short words, before dashes."""
    words = text.split(" ")
    out = words[0]
    for before, word in zip(words, words[1:]):
        bound = len(before.strip("«»,.;:()")) <= 2 or word.startswith("—")
        out += ("\u00a0" if bound else " ") + word
    return out


def hyphenate(word):
    """Soft hyphens between syllables: after a vowel followed by a consonant and a vowel."""
    if len(word) < 5 or not all(c.isalpha() for c in word):
        return word
    out, last = "", 0
    for i in range(1, len(word) - 2):
        if (word[i] in VOWELS and word[i + 1] not in VOWELS and word[i + 2] in VOWELS and i + 1 - last >= 2
                and len(word) - (i + 1) >= 2 and word[i + 1] not in "ьъйы"):
            out += word[last:i + 1] + "\u00ad"
            last = i + 1
    return out + word[last:]


def stress(text):
    """A stress mark on the first vowel of every word, as teaching texts carry them."""
    return WORD.sub(lambda m: next((m.group(0)[:i + 1] + "\u0301" + m.group(0)[i + 1:]
                                    for i, c in enumerate(m.group(0)) if c in VOWELS), m.group(0)), text)


# Honest copies of the original itself: typesetting, hyphenation and stress marks are
# read through without a warning.
CLEAN_COPIES = {
    "clean-typeset": typeset,
    "clean-hyphenated": lambda t: WORD.sub(lambda m: hyphenate(m.group(0)), t),
    "clean-stressed": stress,
}


def paragraphs(path):
    with open(path, encoding="utf-8") as f:
        return [p.strip() for p in f.read().split("\n") if p.strip()]


def xml(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


# Each paragraph is a list of runs (text, style); style is None or a hidden kind.
def with_fillers(paragraph, style, seed):
    rng = random.Random(seed)
    words = paragraph.split(" ")
    runs, current = [], []
    for i, word in enumerate(words):
        current.append(word)
        if i % 3 == 2 and i + 1 < len(words):
            runs.append((" ".join(current) + " ", None))
            runs.append((rng.choice(FILLERS) + " ", style))
            current = []
    runs.append((" ".join(current), None))
    return runs


def write_txt(path, runs_list):
    with open(path, "w", encoding="utf-8") as f:
        f.write("\r\n".join("".join(t for t, _ in runs) for runs in runs_list) + "\r\n")


def write_docx(path, runs_list):
    props = {"hidden": "<w:vanish/>", "white": '<w:color w:val="FFFFFF"/>', "tiny": '<w:sz w:val="2"/>'}
    body = ""
    for runs in runs_list:
        body += "<w:p>"
        for text, style in runs:
            rpr = "<w:rPr>%s</w:rPr>" % props[style] if style else ""
            body += '<w:r>%s<w:t xml:space="preserve">%s</w:t></w:r>' % (rpr, xml(text))
        body += "</w:p>"
    document = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>'
                '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">'
                "<w:body>%s</w:body></w:document>" % body)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0" encoding="UTF-8"?>'
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/>'
                   '<Override PartName="/word/document.xml" ContentType="application/'
                   'vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
        z.writestr("_rels/.rels",
                   '<?xml version="1.0" encoding="UTF-8"?>'
                   '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/'
                   'relationships/officeDocument" Target="word/document.xml"/></Relationships>')
        z.writestr("word/document.xml", document)


def write_odt(path, runs_list):
    props = {"hidden": 'text:display="none"', "white": 'fo:color="#ffffff"', "tiny": 'fo:font-size="1pt"'}
    styles = "".join('<style:style style:name="%s" style:family="text"><style:text-properties %s/></style:style>'
                     % (name, attr) for name, attr in props.items())
    body = ""
    for runs in runs_list:
        body += "<text:p>"
        for text, style in runs:
            content = xml(text).replace("  ", ' <text:s/>')
            body += '<text:span text:style-name="%s">%s</text:span>' % (style, content) if style else content
        body += "</text:p>"
    content = ('<?xml version="1.0" encoding="UTF-8"?>'
               '<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
               'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
               'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
               'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" office:version="1.2">'
               "<office:automatic-styles>%s</office:automatic-styles>"
               "<office:body><office:text>%s</office:text></office:body></office:document-content>" % (styles, body))
    with zipfile.ZipFile(path, "w") as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.text")
        z.writestr("META-INF/manifest.xml",
                   '<?xml version="1.0" encoding="UTF-8"?>'
                   '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" '
                   'manifest:version="1.2"><manifest:file-entry manifest:full-path="/" '
                   'manifest:media-type="application/vnd.oasis.opendocument.text"/>'
                   '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>'
                   "</manifest:manifest>")
        z.writestr("content.xml", content, zipfile.ZIP_DEFLATED)


def rtf_text(text):
    out = ""
    for c in text:
        if c in "\\{}":
            out += "\\" + c
        elif ord(c) < 128:
            out += c
        else:
            for unit in c.encode("utf-16-le").hex(" ", 2).split():
                value = int(unit[2:] + unit[:2], 16)
                out += "\\u%d?" % (value - 65536 if value > 32767 else value)
    return out


def write_rtf(path, runs_list):
    props = {"hidden": "\\v", "white": "\\cf1", "tiny": "\\fs2"}
    body = ""
    for runs in runs_list:
        body += "\\pard "
        for text, style in runs:
            body += "{%s %s}" % (props[style], rtf_text(text)) if style else rtf_text(text)
        body += "\\par\n"
    with open(path, "w", encoding="ascii") as f:
        f.write("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Times New Roman;}}"
                "{\\colortbl;\\red255\\green255\\blue255;}\\fs24\n" + body + "}")


WRITERS = {"txt": write_txt, "docx": write_docx, "odt": write_odt, "rtf": write_rtf}


def write(original, folder):
    os.makedirs(folder, exist_ok=True)
    source = paragraphs(original)
    for name, (trick, _) in CHARACTER_TRICKS.items():
        runs_list = [[(trick(p), None)] for p in source]
        for ext, writer in WRITERS.items():
            writer(os.path.join(folder, "%s.%s" % (name, ext)), runs_list)
    for style in HIDDEN_TRICKS:
        runs_list = [with_fillers(p, style, i) for i, p in enumerate(source)]
        for ext, writer in WRITERS.items():
            if ext != "txt":
                writer(os.path.join(folder, "%s.%s" % (style, ext)), runs_list)
    for ext, writer in WRITERS.items():
        writer(os.path.join(folder, "clean-terms.%s" % ext), [[(p, None)] for p in CLEAN])
        for name, honest in CLEAN_COPIES.items():
            writer(os.path.join(folder, "%s.%s" % (name, ext)), [[(honest(p), None)] for p in source])


def expected_kinds(name):
    if name.startswith("clean-"):
        return []
    if name in HIDDEN_TRICKS:
        return ["hidden_text"]
    return CHARACTER_TRICKS[name][1].split()


def evaluate(check, original, folder):
    rows, passed = [], 0
    for entry in sorted(os.listdir(folder)):
        path = os.path.join(folder, entry)
        name, _ = os.path.splitext(entry)
        kinds = expected_kinds(name)
        # A control is checked against a copy of itself, so both documents are honest
        # (the Check refuses one file named twice).
        with tempfile.TemporaryDirectory() as scratch:
            reference = original
            if not kinds:
                reference = os.path.join(scratch, "reference" + os.path.splitext(entry)[1])
                shutil.copyfile(path, reference)
            run = subprocess.run([check, "--json", reference, path], capture_output=True)
        try:
            report = json.loads(run.stdout.decode("utf-8"))
        except ValueError:
            rows.append((entry, "-", "-", "-", "no report: " + run.stderr.decode("utf-8", "replace").strip()))
            continue
        found = sorted({s["kind"] for s in report.get("suspicious", []) if s["document"] == "edited"})
        anywhere = report.get("suspicious", [])
        matches = len(report.get("matches", []))
        originality = report.get("originality", 1)
        if kinds:
            ok = matches > 0 and originality <= 0.05 and set(kinds) <= set(found)
        else:
            ok = not anywhere
        passed += ok
        rows.append((entry, str(matches), "%.0f%%" % (originality * 100), ",".join(found) or "-",
                     "ok" if ok else "FAIL"))
    print("%-28s %7s %11s %-36s %s" % ("file", "matches", "originality", "suspicious (edited)", "result"))
    for row in rows:
        print("%-28s %7s %11s %-36s %s" % row)
    print("%d of %d pass" % (passed, len(rows)))
    return passed == len(rows)


def main(argv):
    if len(argv) == 4 and argv[1] == "write":
        write(argv[2], argv[3])
        return 0
    if len(argv) == 5 and argv[1] == "eval":
        return 0 if evaluate(argv[2], argv[3], argv[4]) else 1
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
