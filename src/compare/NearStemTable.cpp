#include "compare/NearStemTable.h"

#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

namespace {

// The token without the symbols around it: "начался…" is the word "начался", and a
// dash standing alone is no word at all (empty).
QStringView trimmedWord(QStringView token, qsizetype& offset)
{
    qsizetype begin = 0;
    qsizetype end = token.size();
    while (begin < end && !token[begin].isLetterOrNumber())
        ++begin;
    while (end > begin && !token[end - 1].isLetterOrNumber())
        --end;
    offset = begin;
    return token.sliced(begin, end - begin);
}

} // namespace

NearStemTable::NearStemTable(StemFunction stem) : m_stem(std::move(stem)) {}

qint32 NearStemTable::numberOf(const QString& stem)
{
    const auto it = m_numbers.constFind(stem);
    if (it != m_numbers.constEnd())
        return *it;
    const qint32 number = qint32(m_numbers.size());
    m_numbers.insert(stem, number);
    return number;
}

NearSentence NearStemTable::sentence(const QString& text, const DelimiterSet& wordDelimiters)
{
    NearSentence result;
    result.text = text;
    Tokenizer tokens(text, wordDelimiters);
    QStringView token;
    while (tokens.next(token)) {
        qsizetype offset = 0;
        const QStringView trimmed = trimmedWord(token, offset);
        if (trimmed.isEmpty())
            continue;
        const QString word = trimmed.toString();
        auto it = m_wordNumbers.constFind(word);
        if (it == m_wordNumbers.constEnd()) {
            if (m_wordNumbers.size() >= kWordCacheLimit)
                m_wordNumbers.clear();
            it = m_wordNumbers.insert(word, numberOf(m_stem(LowerCaseWord(word))));
        }
        result.words.append({qint32(tokens.tokenStart() + offset), qint32(trimmed.size()), *it});
    }
    return result;
}
