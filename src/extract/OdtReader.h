#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads OpenDocument text (.odt, .ott): the body text, then footnotes, then endnotes,
// each a story. Annotations and the tracked-change store (deleted text) are left out.
// XML with a DTD or nested deeper than kMaxDepth is refused as damaged.
class OdtReader
{
public:
    static constexpr int kMaxDepth = 256;

    static ParsedDocument Read(const QByteArray& bytes);
};
