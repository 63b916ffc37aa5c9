#include "phrases/Tokenizer.h"

DelimiterSet::DelimiterSet(QStringView characters)
{
    for (QChar ch : characters) {
        const char16_t c = ch.unicode();
        m_bits[c >> 6] |= uint64_t(1) << (c & 63);
        m_empty = false;
    }
}

SplitTable::SplitTable(QStringView sentenceDelimiters, QStringView wordDelimiters)
    : m_kinds(size_t(1) << 16, WordCharacter)
{
    for (const QChar c : wordDelimiters)
        m_kinds[c.unicode()] = WordDelimiter;
    for (const QChar c : sentenceDelimiters)
        m_kinds[c.unicode()] = SentenceDelimiter;
}

bool Tokenizer::Next(QStringView& token)
{
    const qsizetype size = m_text.size();
    const QChar* data = m_text.data();
    qsizetype pos = m_position;
    while (pos < size && m_delimiters.contains(data[pos].unicode()))
        ++pos;
    if (pos >= size) {
        m_position = size;
        return false;
    }
    const qsizetype start = pos;
    while (pos < size && !m_delimiters.contains(data[pos].unicode()))
        ++pos;
    token = m_text.sliced(start, pos - start);
    m_tokenStart = start;
    // One past the character that ended the token; at the end of the text the
    // position is the end, so an empty delimiter set yields one token and stops.
    m_position = pos < size ? pos + 1 : size;
    return true;
}
