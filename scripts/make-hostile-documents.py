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

Time and memory: /usr/bin/time -v build/bin/parafrix-check --text OUTDIR/<file>.
"""
import io
import os
import sys
import zipfile

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
}

if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    for kind in sys.argv[2:] or KINDS:
        name, make = KINDS[kind]
        make(os.path.join(outdir, name))
        print(name, os.path.getsize(os.path.join(outdir, name)))
