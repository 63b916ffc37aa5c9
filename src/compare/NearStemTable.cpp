#include "compare/NearStemTable.h"

#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QVarLengthArray>

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

qint32 NearStemTable::NumberOf(const QString& stem)
{
    const auto it = m_numbers.constFind(stem);
    if (it != m_numbers.constEnd())
        return *it;
    const qint32 number = qint32(m_numbers.size());
    m_numbers.insert(stem, number);
    return number;
}

QStringList NearStemTable::stems() const
{
    QStringList list(m_numbers.size());
    for (auto it = m_numbers.cbegin(); it != m_numbers.cend(); ++it)
        list[*it] = it.key();
    return list;
}

qint32 NearStemTable::wordNumber(QStringView word)
{
    const auto it = m_wordNumbers.constFind(Form{word});
    if (it != m_wordNumbers.constEnd())
        return *it;
    if (m_words.size() >= kWordCacheLimit) {
        m_wordNumbers.clear();
        m_words.clear();
    }
    m_words.append(word.toString());
    const qint32 number = NumberOf(m_stem(LowerCaseWord(m_words.last())));
    m_wordNumbers.insert(Form{m_words.last()}, number);
    return number;
}

NearSentence NearStemTable::sentence(const QString& text, const DelimiterSet& wordDelimiters)
{
    NearSentence result;
    result.text = text;
    Tokenizer tokens(text, wordDelimiters);
    QStringView token;
    // Gathered first, so that the sentence's list is allocated once at its size.
    QVarLengthArray<NearSentence::Word, 64> words;
    while (tokens.Next(token)) {
        qsizetype offset = 0;
        const QStringView trimmed = trimmedWord(token, offset);
        if (trimmed.isEmpty())
            continue;
        words.append({qint32(tokens.tokenStart() + offset), qint32(trimmed.size()), wordNumber(trimmed)});
    }
    result.words = QList<NearSentence::Word>(words.begin(), words.end());
    for (qsizetype i = 0; i < text.size();) {
        if (!text.at(i).isDigit()) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && text.at(i).isDigit())
            ++i;
        result.numbers.append(NumberOf(text.mid(start, i - start)));
    }
    return result;
}
