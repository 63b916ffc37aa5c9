#include "phrases/Tokenizer.h"

DelimiterSet::DelimiterSet(QStringView characters)
{
    for (QChar ch : characters) {
        const char16_t c = ch.unicode();
        m_empty = false;
        if (c < 256)
            m_latin1.set(c);
        else
            m_other.push_back(c);
    }
}

bool Tokenizer::next(QStringView& token)
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
