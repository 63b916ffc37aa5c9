#include "phrases/CFrazes.h"

#include "check/CheckOptions.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

CFrazes::CFrazes(const QString& text, const CheckOptions& options)
{
    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    const qint32 minWords = options.MinWords;

    Tokenizer sentences(text, sentenceDelimiters);
    QStringView sentence;
    while (sentences.next(sentence)) {
        if (sentence == u" ")
            continue;
        if (CountWords(sentence, wordDelimiters) >= minWords)
            m_phrases.append(sentence.toString());
    }
}

QString CFrazes::GetPhrase(quint32 index) const
{
    if (index >= quint64(m_phrases.size()))
        return {};
    return m_phrases.at(index);
}
