#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads Rich Text Format: the body text, then footnotes, then endnotes, each a story.
// Understands groups, control words, \uN with \ucN, \'hh in the document's code page
// (\ansicpg and per-font \fcharset / \cpg), and skips the destinations that hold no
// body text (tables, styles, info, pictures, headers, field codes, \*). Groups nested
// deeper than kMaxDepth make the document count as damaged.
class RtfReader
{
public:
    static constexpr int kMaxDepth = 512;

    static ParsedDocument Read(const QByteArray& bytes);
};
