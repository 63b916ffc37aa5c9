#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

// Reads XML token by token with the limits every package reader applies: a document
// with a DTD (and so any entity trick) is refused, and so is nesting deeper than the
// given bound.
class GuardedXmlReader
{
public:
    GuardedXmlReader(const QByteArray& bytes, int maxDepth) : m_xml(bytes), m_maxDepth(maxDepth) {}

    // Moves to the next token. False at the end of the document, and also, with a
    // reason in why, when the document is malformed or refused.
    bool Next(QString& why);
    QXmlStreamReader& Xml() { return m_xml; }
    // Depth of the current element; an end tag still reports its element's depth.
    int Depth() const { return m_depth; }

private:
    QXmlStreamReader m_xml;
    int m_maxDepth;
    int m_depth = 0;
    bool m_leaving = false;
};
