#include "phrases/CFrazes.h"

#include "phrases/SplitOptions.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

CFrazes::CFrazes(const QString& text, const SplitOptions& options)
{
    const DelimiterSet sentenceDelimiters(options.Delimiters1);
    const DelimiterSet wordDelimiters(options.Delimiters2);

    Tokenizer sentences(text, sentenceDelimiters);
    QStringView sentence;
    while (sentences.Next(sentence)) {
        if (options.Keeps(sentence, CountWords(sentence, wordDelimiters)))
            m_phrases.append(sentence.toString());
    }
}

QString CFrazes::GetPhrase(quint32 index) const
{
    if (index >= quint64(m_phrases.size()))
        return {};
    return m_phrases.at(index);
}
