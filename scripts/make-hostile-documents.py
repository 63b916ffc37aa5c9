#!/usr/bin/env python3
"""Writes the large hostile documents the reader limits are measured with, into OUTDIR.

    scripts/make-hostile-documents.py OUTDIR [KIND...]

Kinds (default: all):
  pages      pages.pdf: a PDF of 100,000 one-line pages (about 16 MB), for the time of
             PDF text extraction against the number of pages
  attributes attributes.docx: one element with 150,000 attributes and one with 20,000
             namespace declarations (the square-time case of the XML reader)
  bigrtf     big.rtf: 250 MB of 8-bit RTF text in one run, for the memory of the RTF reader
  emptytable table.docx: a legitimate document whose large empty table compresses
             beyond 200:1
  count      count.pdf: one page under a /Count of 4; nullkid.pdf: a null entry among /Kids
  forms      forms.pdf: form XObjects nested eight deep, ten uses each: one glyph drawn
             10^8 times from 3 KB
  repeat     repeat.pdf: a page tree that lists one heavy page 3,000 times
  gbk        gbk.rtf: an unbroken 2 MiB run of GBK text (\ansicpg936)
  samepairs  samepairs.{original,edited}.txt: one 10 KB sentence 1,000 times a side
             (the allowed million matches)
  distinct   distinct.{original,edited}.txt: 2,000,000 distinct words in 200,000
             sentences, 26 MB a side
  common     common.{original,edited}.txt: 200 sentences of a 12-word vocabulary and
             their copies with one word changed (every stem too common to seed)

Time and memory: /usr/bin/time -v build/bin/parafrix-check --text OUTDIR/<file>, and for
the pairs /usr/bin/time -v build/bin/parafrix-check [--near] OUTDIR/<name>.original.txt
OUTDIR/<name>.edited.txt > /dev/null.
"""
import io
import os
import random
import sys
import zipfile
import zlib

W = "http://schemas.openxmlformats.org/wordprocessingml/2006/main"


def pages_pdf(path, pages=100000):
    out = io.BytesIO()
    offsets = {}

    def obj(num, body):
        offsets[num] = out.tell()
        out.write(b"%d 0 obj\n" % num + body + b"\nendobj\n")

    out.write(b"%PDF-1.4\n")
    font = 3
    first_page = 4
    kids = b" ".join(b"%d 0 R" % (first_page + 2 * i) for i in range(pages))
    obj(1, b"<< /Type /Catalog /Pages 2 0 R >>")
    obj(2, b"<< /Type /Pages /Kids [" + kids + b"] /Count %d >>" % pages)
    obj(font, b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>")
    for i in range(pages):
        page = first_page + 2 * i
        stream = b"BT /F1 12 Tf 72 700 Td (Page %d of the long file.) Tj ET" % (i + 1)
        obj(page, b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                  b"/Resources << /Font << /F1 3 0 R >> >> >>" % (page + 1))
        obj(page + 1, b"<< /Length %d >>\nstream\n" % len(stream) + stream + b"\nendstream")
    count = first_page + 2 * pages
    xref = out.tell()
    out.write(b"xref\n0 %d\n0000000000 65535 f \n" % count)
    for num in range(1, count):
        out.write(b"%010d 00000 n \n" % offsets[num])
    out.write(b"trailer\n<< /Size %d /Root 1 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (count, xref))
    with open(path, "wb") as f:
        f.write(out.getvalue())


def write_pdf(path, objects, root=1):
    """A PDF of the given objects: object n is objects[n - 1]; None leaves n free."""
    out = io.BytesIO()
    out.write(b"%PDF-1.4\n")
    offsets = []
    for num, body in enumerate(objects, 1):
        offsets.append(out.tell() if body is not None else None)
        if body is not None:
            out.write(b"%d 0 obj\n" % num + body + b"\nendobj\n")
    xref = out.tell()
    out.write(b"xref\n0 %d\n0000000000 65535 f \n" % (len(objects) + 1))
    for offset in offsets:
        out.write(b"%010d 00000 n \n" % offset if offset is not None else b"0000000000 65535 f \n")
    out.write(b"trailer\n<< /Size %d /Root %d 0 R >>\nstartxref\n%d\n%%%%EOF\n" % (len(objects) + 1, root, xref))
    with open(path, "wb") as f:
        f.write(out.getvalue())


def stream(content, extra=b"", compress=False):
    if compress:
        content = zlib.compress(content, 9)
        extra += b" /Filter /FlateDecode"
    return b"<< /Length %d%s >>\nstream\n" % (len(content), extra) + content + b"\nendstream"


FONT = b"<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"


def page(contents, parent=2, font=3):
    return (b"<< /Type /Page /Parent %d 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
            b"/Resources << /Font << /F1 %d 0 R >> >> >>" % (parent, contents, font))


def count_pdfs(outdir):
    text = stream(b"BT /F1 12 Tf 72 700 Td (The only page of the file.) Tj ET")
    write_pdf(os.path.join(outdir, "count.pdf"), [
        b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [4 0 R] /Count 4 >>", FONT, page(5), text])
    second = stream(b"BT /F1 12 Tf 72 700 Td (The second page.) Tj ET")
    write_pdf(os.path.join(outdir, "nullkid.pdf"), [
        b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [4 0 R null 6 0 R] /Count 3 >>", FONT,
        page(5), text, page(7), second])


def forms_pdf(path, depth=8, fanout=10):
    # Objects 5 + k are the forms: the first draws one glyph, each later one uses the one
    # before it fanout times; the page uses the last once.
    forms = []
    for k in range(depth + 1):
        if k == 0:
            content, resources = b"BT /F1 12 Tf 72 700 Td (a) Tj ET", b"/Font << /F1 3 0 R >>"
        else:
            content, resources = b"/Y Do " * fanout, b"/XObject << /Y %d 0 R >>" % (5 + k - 1)
        forms.append(stream(content, b" /Type /XObject /Subtype /Form /BBox [0 0 612 792] /Resources << %s >>"
                            % resources))
    write_pdf(path, [b"<< /Type /Catalog /Pages 2 0 R >>", b"<< /Type /Pages /Kids [4 0 R] /Count 1 >>", FONT,
                     b"<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents %d 0 R "
                     b"/Resources << /XObject << /X %d 0 R >> >> >>" % (6 + depth, 5 + depth)] + forms +
              [stream(b"/X Do")])


def repeat_pdf(path, times=3000, lines=2000):
    content = b"BT /F1 10 Tf 12 TL 40 780 Td " + b"".join(
        b"(Line %d of the heavy page, with some words to draw.) '\n" % i for i in range(lines)) + b"ET"
    kids = b" ".join([b"4 0 R"] * times)
    # poppler believes no /Count above the number of objects: as many spare ones.
    write_pdf(path, [b"<< /Type /Catalog /Pages 2 0 R >>",
                     b"<< /Type /Pages /Kids [" + kids + b"] /Count %d >>" % times, FONT, page(5),
                     stream(content, compress=True)] + [b"<< >>"] * times)


def gbk_rtf(path, characters=1024 * 1024):
    # An odd start, so that a cut at any even size falls inside a character.
    with open(path, "wb") as f:
        f.write(b"{\\rtf1\\ansi\\ansicpg936 a" + "你".encode("gbk") * characters + b"}")


def write_pair(outdir, name, original, edited):
    for side, text in (("original", original), ("edited", edited)):
        with open(os.path.join(outdir, f"{name}.{side}.txt"), "w", encoding="utf-8") as f:
            f.write(text)


def same_pairs(outdir, repeats=1000):
    words = [f"слово{i}" for i in range(1200)]
    sentence = " ".join(words)[:10 * 1024] + ". "
    write_pair(outdir, "samepairs", sentence * repeats, sentence * repeats)


def distinct_words(outdir, sentences=200000, per_sentence=10):
    # Every word distinct: letters from a counter, so no form is met twice on one side.
    letters = "абвгдежзиклмнопрстуфхцчшэюя"

    def word(n):
        out = []
        while True:
            out.append(letters[n % len(letters)])
            n //= len(letters)
            if n == 0:
                break
        return "".join(out) + "ка"

    lines = []
    for s in range(sentences):
        lines.append(" ".join(word(s * per_sentence + k) for k in range(per_sentence)) + ".")
    text = " ".join(lines) + "\n"
    write_pair(outdir, "distinct", text, text)


def common_stems(outdir, sentences=200):
    rng = random.Random(7)
    vocabulary = ["дом", "лес", "река", "поле", "город", "сад", "мост", "луг", "берег", "холм", "гора", "дорога"]
    original, edited = [], []
    for _ in range(sentences):
        words = [rng.choice(vocabulary) for _ in range(12)]
        original.append(" ".join(words).capitalize() + ".")
        changed = list(words)
        changed[rng.randrange(12)] = rng.choice(vocabulary)
        edited.append(" ".join(changed).capitalize() + ".")
    write_pair(outdir, "common", " ".join(original) + "\n", " ".join(edited) + "\n")


def docx(path, body, declarations=""):
    document = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                f'<w:document xmlns:w="{W}"{declarations}><w:body>{body}</w:body></w:document>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/'
                   'content-types"><Default Extension="xml" ContentType="application/xml"/></Types>')
        z.writestr("word/document.xml", document)


def attributes_docx(path):
    many = " ".join(f'a{i}="{i}"' for i in range(150000))
    prefixes = "".join(f' xmlns:p{i}="urn:x-{i}"' for i in range(20000))
    docx(path, f'<w:p><w:r {many}><w:t>Текст</w:t></w:r></w:p>', prefixes)


def empty_table_docx(path):
    cell = '<w:tc><w:tcPr><w:tcW w:w="1000" w:type="dxa"/></w:tcPr><w:p><w:pPr><w:pStyle w:val="a"/></w:pPr></w:p></w:tc>'
    rows = ("<w:tr>" + cell * 10 + "</w:tr>") * 3000
    docx(path, '<w:p><w:r><w:t>Таблица ниже пуста.</w:t></w:r></w:p><w:tbl>' + rows + "</w:tbl>")


def big_rtf(path, megabytes=250):
    # One run of 8-bit text with no control word in it: nothing ends the run early.
    with open(path, "wb") as f:
        f.write(b"{\\rtf1\\ansi\\ansicpg1251 ")
        block = "Реферат о берёзовой роще. ".encode("cp1251") * 40000
        written = 0
        while written + len(block) < megabytes * 1024 * 1024:
            f.write(block)
            written += len(block)
        f.write(b"}")


KINDS = {
    "pages": ("pages.pdf", pages_pdf),
    "attributes": ("attributes.docx", attributes_docx),
    "bigrtf": ("big.rtf", big_rtf),
    "emptytable": ("table.docx", empty_table_docx),
    "count": ("count.pdf", None),
    "forms": ("forms.pdf", forms_pdf),
    "repeat": ("repeat.pdf", repeat_pdf),
    "gbk": ("gbk.rtf", gbk_rtf),
    "samepairs": ("samepairs.original.txt", None),
    "distinct": ("distinct.original.txt", None),
    "common": ("common.original.txt", None),
}
# Kinds that write several files into OUTDIR.
WRITERS = {"count": count_pdfs, "samepairs": same_pairs, "distinct": distinct_words, "common": common_stems}

if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for kind in sys.argv[2:] or KINDS:
        name, make = KINDS[kind]
        if make:
            make(os.path.join(outdir, name))
        else:
            WRITERS[kind](outdir)
        print(name, os.path.getsize(os.path.join(outdir, name)))
