#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads Word 97-2003 documents (.doc, .dot): the compound file, the file information
// block and the piece table (8-bit and 16-bit pieces, fast-saved files). Gives the main
// text, then footnotes, then endnotes, each a story, with field codes, deleted tracked
// changes and object marks dropped. Encrypted documents are reported as
// password-protected. Word 6.0 and Word 95 files (also fast-saved) read the same way,
// their 8-bit text in the code page of their fonts' character set or of their language;
// in those, deleted tracked changes are kept and table rows end with a tab.
class DocReader
{
public:
    static ParsedDocument Read(const QByteArray& bytes);
};
