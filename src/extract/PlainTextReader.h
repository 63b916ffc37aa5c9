#pragma once

#include "extract/ParsedDocument.h"

#include <QByteArray>

// Reads a plain-text document: UTF-8 with or without BOM, UTF-16 with BOM, otherwise
// Windows-1251. A text that is nearly all valid UTF-8 is UTF-8: a damaged byte or a
// last character cut short costs one replacement character, not the whole text. Every line break (CR LF, LF, CR) comes
// out as CR LF, as a paragraph end.
class PlainTextReader
{
public:
    // Largest text decoded: beyond it the text would outgrow what the extraction keeps.
    static constexpr qint64 kMaxTextBytes = 64 * 1024 * 1024;
    // Valid multi-byte UTF-8 sequences needed for each invalid byte to decode as UTF-8.
    static constexpr qsizetype kMinValidPerInvalid = 10;

    // The text filter's reader: binary content (NUL bytes, many control bytes) without
    // a byte-order mark is no text and is refused.
    static ParsedDocument Read(const QByteArray& bytes);
    static QString Decode(const QByteArray& bytes);
    // True when the bytes are valid UTF-8, or are overwhelmingly so: at least
    // kMinValidPerInvalid valid multi-byte sequences for each invalid byte.
    static bool IsMostlyUtf8(const QByteArray& bytes);
    // UTF-8 with each run of invalid bytes (a damaged or a cut character) replaced by
    // one U+FFFD.
    static QString DecodeDamagedUtf8(const QByteArray& bytes);
    static QString CanonicalLineBreaks(const QString& text);
    // CanonicalLineBreaks(Decode(bytes)) for the common case, bytes that are valid UTF-8
    // throughout (after a UTF-8 BOM, if any): decoded and canonicalised in one pass over
    // the bytes, with no text-sized copy between. False (text untouched) for anything
    // else, which takes the general way.
    static bool DecodeCleanUtf8(const QByteArray& bytes, QString& text);
};
