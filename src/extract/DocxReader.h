#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads WordprocessingML packages (.docx, .docm, .dotx): the main text, then the
// footnotes, then the endnotes, each a story of its own. Field results are kept and
// field codes dropped; deleted tracked changes, comments, headers and footers are left
// out. XML with a DTD or nested deeper than kMaxDepth is refused as damaged.
class DocxReader
{
public:
    static constexpr int kMaxDepth = 256;

    static ParsedDocument Read(const QByteArray& bytes);
};
