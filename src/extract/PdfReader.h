#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads the text of a PDF through poppler: the lines of one paragraph joined with a
// space (a line-end hyphen before a lower-case letter joined without it), a paragraph
// end where a text block ends, a wider gap stands between lines, or a page ends.
class PdfReader
{
public:
    static ParsedDocument Read(const QByteArray& bytes);
};
