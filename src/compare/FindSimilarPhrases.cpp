#include "compare/FindSimilarPhrases.h"

#include "compare/PhraseFingerprint.h"
#include "phrases/CFrazes.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"
#include "phrases/WordNumberCache.h"
#include "settings/AppSettings.h"

#include <QHash>
#include <QVarLengthArray>

void FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText)
{
    originalText = NormalizeLineBreaks(std::move(originalText));
    editedText = NormalizeLineBreaks(std::move(editedText));
    const CFrazes original(originalText);
    const CFrazes edited(editedText);

    const AppSettings& settings = AppSettings::Instance();
    const DelimiterSet wordDelimiters(settings.Delimiters2);
    const qint32 minWords = settings.MinWords;
    // Both sentence lists live until the search ends, so their words can key the cache.
    WordNumberCache numbers(dictionary);

    // Original sentence indices by fingerprint, each list in sentence order: walking
    // a list gives exactly the original entries a full scan would meet, in its order.
    QHash<QByteArray, QVarLengthArray<qint32, 2>> originalByFingerprint;
    originalByFingerprint.reserve(original.size());
    for (qsizetype i = 0; i < original.size(); ++i) {
        const QByteArray fingerprint = PhraseFingerprint(numbers, original.phrases().at(i), wordDelimiters, minWords);
        if (!fingerprint.isEmpty())
            originalByFingerprint[fingerprint].append(qint32(i));
    }

    for (qsizetype j = 0; j < edited.size(); ++j) {
        const QString& sentence = edited.phrases().at(j);
        const QByteArray fingerprint = PhraseFingerprint(numbers, sentence, wordDelimiters, minWords);
        if (fingerprint.isEmpty())
            continue;
        const auto it = originalByFingerprint.constFind(fingerprint);
        if (it == originalByFingerprint.constEnd())
            continue;
        for (qint32 i : *it)
            matches.append(PhraseMatch{original.phrases().at(i), sentence});
    }
}
