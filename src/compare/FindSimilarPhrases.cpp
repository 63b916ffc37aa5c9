#include "compare/FindSimilarPhrases.h"

#include "compare/PhraseFingerprint.h"
#include "phrases/TextOps.h"
#include "phrases/Tokenizer.h"
#include "phrases/WordNumberCache.h"
#include "settings/AppSettings.h"

#include <QHash>
#include <QVarLengthArray>

namespace {

// Walks the sentences a sentence list would keep (at least MinWords words, not a lone
// space), splitting each into words once, and hands every one of them to the visitor
// with its fingerprint (empty when it has none). The text must outlive the walk.
template <typename Visitor>
void forEachSentence(QStringView text, const DelimiterSet& sentenceDelimiters, const DelimiterSet& wordDelimiters,
                     qint32 minWords, WordNumberCache& numbers, Visitor visit)
{
    Tokenizer sentences(text, sentenceDelimiters);
    QStringView sentence;
    QVarLengthArray<QStringView, 64> words;
    while (sentences.next(sentence)) {
        if (sentence == u" ")
            continue;
        words.clear();
        Tokenizer tokens(sentence, wordDelimiters);
        QStringView word;
        while (tokens.next(word))
            words.append(word);
        if (words.size() < minWords)
            continue;
        visit(sentence, words.size() > minWords ? WordsFingerprint(numbers, words) : QByteArray());
    }
}

} // namespace

void FindSimilarPhrases(PhraseMatchList& matches, const CStemDictionary& dictionary, QString originalText,
                        QString editedText)
{
    originalText = NormalizeLineBreaks(std::move(originalText));
    editedText = NormalizeLineBreaks(std::move(editedText));

    const AppSettings& settings = AppSettings::Instance();
    const DelimiterSet sentenceDelimiters(settings.Delimiters1);
    const DelimiterSet wordDelimiters(settings.Delimiters2);
    const qint32 minWords = settings.MinWords;
    // Both texts live until the search ends, so their words can key the cache.
    WordNumberCache numbers(dictionary);

    // Original sentences by fingerprint, each list in sentence order: walking a list
    // meets exactly the original entries a scan of all of them would, in its order.
    QHash<QByteArray, QVarLengthArray<QStringView, 2>> originalByFingerprint;
    forEachSentence(originalText, sentenceDelimiters, wordDelimiters, minWords, numbers,
                    [&](QStringView sentence, const QByteArray& fingerprint) {
                        if (!fingerprint.isEmpty())
                            originalByFingerprint[fingerprint].append(sentence);
                    });

    forEachSentence(editedText, sentenceDelimiters, wordDelimiters, minWords, numbers,
                    [&](QStringView sentence, const QByteArray& fingerprint) {
                        if (fingerprint.isEmpty())
                            return;
                        const auto it = originalByFingerprint.constFind(fingerprint);
                        if (it == originalByFingerprint.constEnd())
                            return;
                        const QString edited = sentence.toString();
                        for (QStringView original : *it)
                            matches.append(PhraseMatch{original.toString(), edited});
                    });
}
