#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads the text of a PDF through poppler: the lines of one paragraph joined with a
// space (a line-end hyphen before a lower-case letter joined without it), a paragraph
// end where a text block ends, a wider gap stands between lines, or a page ends.
// Each page object is read once, however often the page tree lists it; a page the
// tree names but the file lacks makes the document damaged. The work of drawing is
// bounded: past kMaxWork content operators' worth of drawing in all (glyphs, uses of
// forms, fonts and damaged objects weighed by what they cost), or kMaxPageGlyphs glyphs or
// kMaxPageFonts fonts on one page, the document is refused as too large. A page that
// still takes kMaxPageSeconds of processor time is refused as damaged: its cost lies
// in looking up broken objects, which no count sees.
class PdfReader
{
public:
    static constexpr qint64 kMaxWork = 25'000'000;
    static constexpr qint64 kMaxPageGlyphs = 200'000;
    static constexpr qint64 kMaxPageFonts = 2'000;
    static constexpr int kMaxPageSeconds = 2;

    static ParsedDocument Read(const QByteArray& bytes);
};
