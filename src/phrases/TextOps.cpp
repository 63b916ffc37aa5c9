#include "phrases/TextOps.h"

#include "morph/Stemmer.h"
#include "phrases/SplitOptions.h"
#include "phrases/Tokenizer.h"

#include <array>

QString NormalizeLineBreaks(QString text)
{
    // Most texts have no line break left to turn: they are shared, not copied.
    if (!text.contains(QChar(u'\n')))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("."));
    text.remove(QChar(u'\n'));
    return text;
}

void SplitWords(const QString& phrase, QStringList& words, const SplitOptions& options)
{
    const DelimiterSet delimiters(options.Delimiters2);
    Tokenizer tokens(phrase, delimiters);
    QStringView token;
    while (tokens.Next(token))
        words.append(token.toString());
}

qsizetype CountWords(QStringView phrase, const DelimiterSet& wordDelimiters)
{
    Tokenizer tokens(phrase, wordDelimiters);
    QStringView token;
    qsizetype count = 0;
    while (tokens.Next(token))
        ++count;
    return count;
}

namespace {

// The simple lower case of every code unit below U+0500 (Latin, Greek, Cyrillic), worked
// out once: a Check lower-cases every distinct word.
struct LowerCaseTable
{
    static constexpr char16_t Size = 0x500;
    std::array<char16_t, Size> lower{};

    LowerCaseTable()
    {
        for (char16_t c = 0; c < Size; ++c)
            lower[c] = char16_t(QChar::toLower(char32_t(c)));
    }
};

char16_t lowerCaseUnit(char16_t c)
{
    static const LowerCaseTable table;
    if (c < LowerCaseTable::Size)
        return table.lower[c];
    // Surrogate halves stay as they are: the length is kept.
    return QChar::isSurrogate(c) ? c : char16_t(QChar::toLower(char32_t(c)));
}

} // namespace

QString LowerCaseWord(QString word)
{
    // Per code unit, so surrogate halves and characters whose full lower case is
    // longer stay as they are and the length is kept. A word already in lower case,
    // as most are, is returned without being detached.
    const QStringView view(word);
    qsizetype i = 0;
    while (i < view.size() && lowerCaseUnit(view[i].unicode()) == view[i].unicode())
        ++i;
    if (i == view.size())
        return word;
    QChar* data = word.data();
    for (const qsizetype n = word.size(); i < n; ++i)
        data[i] = QChar(lowerCaseUnit(data[i].unicode()));
    return word;
}

QString NormalizeWord(QString word, Stemmer& stemmer)
{
    return stemmer.GetStem(LowerCaseWord(std::move(word)));
}
