#include "phrases/TextOps.h"

#include "morph/Stemmer.h"
#include "phrases/SplitOptions.h"
#include "phrases/Tokenizer.h"

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
    while (tokens.next(token))
        words.append(token.toString());
}

qsizetype CountWords(QStringView phrase, const DelimiterSet& wordDelimiters)
{
    Tokenizer tokens(phrase, wordDelimiters);
    QStringView token;
    qsizetype count = 0;
    while (tokens.next(token))
        ++count;
    return count;
}

QString LowerCaseWord(QString word)
{
    // Per code unit, so surrogate halves and characters whose full lower case is
    // longer stay as they are and the length is kept.
    QChar* data = word.data();
    for (qsizetype i = 0, n = word.size(); i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                data[i] = QChar(char16_t(c + 32));
        } else if (!QChar::isSurrogate(c)) {
            data[i] = QChar(char16_t(QChar::toLower(char32_t(c))));
        }
    }
    return word;
}

QString NormalizeWord(const QString& word, Stemmer& stemmer)
{
    return stemmer.GetStem(LowerCaseWord(word));
}
