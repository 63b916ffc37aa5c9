#include "phrases/CStemDictionary.h"

#include "check/CheckOptions.h"
#include "phrases/CFrazes.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"

#include <QSet>

CStemDictionary::CStemDictionary(const QString& originalText, const CheckOptions& options, Stemmer& stemmer)
{
    const CFrazes phrases(NormalizeLineBreaks(originalText), options);
    const DelimiterSet wordDelimiters(options.Delimiters2);
    qint32 counter = 0;
    // A word form already met has its stem numbered already; only new forms are stemmed.
    QSet<QStringView> formsSeen;
    for (const QString& phrase : phrases.phrases()) {
        Tokenizer words(phrase, wordDelimiters);
        QStringView word;
        while (words.next(word)) {
            if (formsSeen.contains(word))
                continue;
            formsSeen.insert(word);
            const QString stem = NormalizeWord(word.toString(), stemmer);
            if (!m_numbers.contains(stem))
                m_numbers.insert(stem, counter++);
        }
    }
}
