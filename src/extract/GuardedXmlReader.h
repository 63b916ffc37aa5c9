#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

// Reads XML token by token with the limits every package reader applies: a document
// with a DTD (and so any entity trick) is refused, and so is nesting deeper than the
// given bound. Before the first token the whole text is scanned once, in linear time,
// for elements with more than kMaxAttributes attributes or more than kMaxNamespaces
// namespace declarations in scope: Qt's reader checks those in time that grows with
// the square of their number, so such a document is refused as damaged unparsed.
class GuardedXmlReader
{
public:
    static constexpr int kMaxAttributes = 256;
    static constexpr int kMaxNamespaces = 256;

    GuardedXmlReader(const QByteArray& bytes, int maxDepth);

    // Moves to the next token. False at the end of the document, and also, with a
    // reason in why, when the document is malformed or refused.
    bool Next(QString& why);
    QXmlStreamReader& Xml() { return m_xml; }
    // Depth of the current element; an end tag still reports its element's depth.
    int Depth() const { return m_depth; }

    // The text of an XML document given as bytes: by byte-order mark, UTF-16 pattern
    // or declared 8-bit encoding, else UTF-8.
    static QString Decode(const QByteArray& bytes);
    // Empty when no element breaks the attribute and namespace limits, else the reason.
    static QString CheckTags(QStringView text, int maxDepth);

private:
    QByteArray m_bytes; // the document when it is UTF-8
    QString m_text;     // the document decoded, when it is not
    QXmlStreamReader m_xml;
    int m_maxDepth;
    int m_depth = 0;
    bool m_leaving = false;
    bool m_scanned = false;
};
