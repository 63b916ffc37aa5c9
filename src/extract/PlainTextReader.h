#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads a plain-text document: UTF-8 with or without BOM, UTF-16 with BOM, otherwise
// Windows-1251. Every line break (CR LF, LF, CR) comes out as CR LF, as a paragraph end.
class PlainTextReader
{
public:
    // Largest text decoded: beyond it the text would outgrow what the extraction keeps.
    static constexpr qint64 kMaxTextBytes = 64 * 1024 * 1024;

    // The text filter's reader: binary content (NUL bytes, many control bytes) without
    // a byte-order mark is no text and is refused.
    static ParsedDocument Read(const QByteArray& bytes);
    static QString Decode(const QByteArray& bytes);
    static QString CanonicalLineBreaks(const QString& text);
};
